#include "ui/screens/GeneralSettingsScreen.h"

#include "ui/ScreenHost.h"
#include "ui/widgets/SettingsParts.h"

#include <QListWidget>

namespace kyvane {

GeneralSettingsScreen::GeneralSettingsScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
    ListBox4 = settingsList(this, QStringLiteral("ListBox4"));
    listOnly(this, ListBox4);
}

} // namespace kyvane
