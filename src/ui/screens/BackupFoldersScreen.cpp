#include "ui/screens/BackupFoldersScreen.h"

#include "i18n/LanguageRes.h"
#include "ui/ScreenHost.h"
#include "ui/widgets/SettingsParts.h"

#include <QListWidget>
#include <QPushButton>

namespace kyvane {

BackupFoldersScreen::BackupFoldersScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
    ListBox5 = settingsList(this, QStringLiteral("ListBox5"));
    btnAddFolder = commandButton(this, QStringLiteral("btnAddFolder"));
    btnDelFolder = commandButton(this, QStringLiteral("btnDelFolder"));
    listOverButtons(this, ListBox5, btnAddFolder, btnDelFolder);
}

void BackupFoldersScreen::applyLanguage()
{
    btnAddFolder->setText(langText(25));
    btnDelFolder->setText(langText(26));
}

} // namespace kyvane
