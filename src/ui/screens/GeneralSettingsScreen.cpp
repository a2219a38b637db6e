#include "ui/screens/GeneralSettingsScreen.h"

#include "i18n/LanguageRes.h"
#include "ui/ScreenHost.h"
#include "ui/ScreenIndex.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/TfrmChooseLanguage.h"
#include "ui/widgets/SettingsParts.h"

#include <QListWidget>

namespace kyvane {

namespace {

enum Tag { Folders = 0, Extensions = 1, Language = 2 };

const RowLook kRow{60, 24, std::nullopt, false, true};

} // namespace

GeneralSettingsScreen::GeneralSettingsScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
    ListBox4 = settingsList(this, QStringLiteral("ListBox4"));
    listOnly(this, ListBox4);
    auto fixedRow = [this](const QString& name, int tag) {
        QListWidgetItem* item = addRow(ListBox4, QString(), tag, name, kRow);
        item->setData(row::Name, name);
        return item;
    };
    language = fixedRow(QStringLiteral("language"), Language);
    whichfolder = fixedRow(QStringLiteral("whichfolder"), Folders);
    whichfileext = fixedRow(QStringLiteral("whichfileext"), Extensions);
    connect(ListBox4, &QListWidget::itemClicked, this, &GeneralSettingsScreen::ListBox4ItemClick);
}

void GeneralSettingsScreen::applyLanguage()
{
    language->setText(langText(30));
    language->setData(row::Detail, langText(33));
    whichfolder->setText(langText(23));
    whichfileext->setText(langText(24));
}

void GeneralSettingsScreen::ListBox4ItemClick(QListWidgetItem* item)
{
    if (!item)
        return;
    switch (item->data(row::Tag).toInt()) {
    case Folders:
        m_host.PrepareFolderList();
        m_host.setNavMarker(screen::GeneralSettings);
        m_host.ChangeTab(screen::BackupFolders);
        break;
    case Extensions:
        m_host.PrepareExtList();
        m_host.setNavMarker(screen::GeneralSettings);
        m_host.ChangeTab(screen::FileExtensions);
        break;
    case Language:
        m_host.dialogs().chooseLanguage->open(
            [this](const QString& AselectedItem) { m_host.ChooseLanguageCallBack(AselectedItem); });
        break;
    default:
        break;
    }
}

} // namespace kyvane
