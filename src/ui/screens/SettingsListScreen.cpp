#include "ui/screens/SettingsListScreen.h"

#include "ui/ScreenHost.h"
#include "ui/widgets/SettingsParts.h"

#include <QListWidget>
#include <QPushButton>

namespace kyvane {

SettingsListScreen::SettingsListScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
    ListBox3 = settingsList(this, QStringLiteral("ListBox3"));
    Button8 = commandButton(this, QStringLiteral("Button8"));
    Button8->hide();
    listOnly(this, ListBox3);
    // The rows and what a tap on one opens come with the settings screens'
    // own work.
}

QString SettingsListScreen::selectedRowText() const
{
    const QListWidgetItem* selected = ListBox3->currentItem();
    return selected ? selected->text() : QString();
}

} // namespace kyvane
