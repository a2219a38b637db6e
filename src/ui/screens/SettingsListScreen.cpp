#include "ui/screens/SettingsListScreen.h"

#include "core/AppLists.h"
#include "i18n/LanguageRes.h"
#include "transfer/ServerEntry.h"
#include "ui/ScreenHost.h"
#include "ui/ScreenIndex.h"
#include "ui/widgets/SettingsParts.h"

#include <QListWidget>
#include <QPushButton>

namespace kyvane {

namespace {

const RowLook kGeneralRow{60, 24, std::nullopt, false, true};
const RowLook kServerRow{60, 24, QColor(0xFF0000FFu), false, true};
const RowLook kAddServerRow{60, 24, QColor(0xFFDC143Cu), false, true};

} // namespace

SettingsListScreen::SettingsListScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
    ListBox3 = settingsList(this, QStringLiteral("ListBox3"));
    Button8 = commandButton(this, QStringLiteral("Button8"));
    Button8->hide();
    listOnly(this, ListBox3);
    // Clicked, not activated: the selected row is the one opened, and it
    // gives the server editor its title.
    connect(ListBox3, &QListWidget::itemClicked, this, &SettingsListScreen::ListBox3ItemClick);
}

void SettingsListScreen::prepareSettings()
{
    ListBox3->clear();
    addRow(ListBox3, langText(8), row::GeneralSettingsTag, QStringLiteral("general settings"),
           kGeneralRow);
    const QStringList& servers = m_host.appLists().servers;
    for (int i = 0; i < servers.size(); ++i) {
        const QString address = ServerEntry::addressField(servers.at(i));
        addRow(ListBox3, address, i, address, kServerRow);
    }
    addRow(ListBox3, langText(9), row::AddServerTag, QStringLiteral("add server"), kAddServerRow);
}

QString SettingsListScreen::selectedRowText() const
{
    const QListWidgetItem* selected = ListBox3->currentItem();
    return selected ? selected->text() : QString();
}

void SettingsListScreen::ListBox3ItemClick(QListWidgetItem* item)
{
    if (!item)
        return;
    ListBox3->setCurrentItem(item);
    m_host.setNavMarker(1);
    const int tag = item->data(row::Tag).toInt();
    if (tag == row::GeneralSettingsTag)
        m_host.ChangeTab(screen::GeneralSettings);
    else
        m_host.openServerEditor(tag);
}

} // namespace kyvane
