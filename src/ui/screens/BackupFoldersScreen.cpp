#include "ui/screens/BackupFoldersScreen.h"

#include "core/AppLists.h"
#include "core/PicturesFolder.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "ui/FolderDialog.h"
#include "ui/MessageBox.h"
#include "ui/ScreenHost.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/TfrmChooseFolder.h"
#include "ui/widgets/EmptyListHint.h"
#include "ui/widgets/SettingsParts.h"

#include <QListWidget>
#include <QPushButton>

namespace kyvane {

BackupFoldersScreen::BackupFoldersScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
    ListBox5 = settingsList(this, QStringLiteral("ListBox5"));
    lblFoldersEmpty = new EmptyListHint(ListBox5, [this] { return ListBox5->count() == 0; });
    lblFoldersEmpty->setObjectName(QStringLiteral("lblFoldersEmpty"));
    btnAddFolder = commandButton(this, QStringLiteral("btnAddFolder"));
    btnChooseFolder = commandButton(this, QStringLiteral("btnChooseFolder"));
    btnDelFolder = commandButton(this, QStringLiteral("btnDelFolder"));
    listOverButtons(this, ListBox5, {btnAddFolder, btnChooseFolder, btnDelFolder});
    connect(btnAddFolder, &QPushButton::clicked, this, &BackupFoldersScreen::btnAddFolderClick);
    connect(btnChooseFolder, &QPushButton::clicked, this,
            &BackupFoldersScreen::btnChooseFolderClick);
    connect(btnDelFolder, &QPushButton::clicked, this, &BackupFoldersScreen::btnDelFolderClick);
}

void BackupFoldersScreen::PrepareFolderList()
{
    fillCheckRows(ListBox5, m_host.appLists().folders);
}

void BackupFoldersScreen::applyLanguage()
{
    lblFoldersEmpty->setHint(extraText(ExtraText::FoldersEmptyHint));
    btnAddFolder->setText(langText(25));
    btnChooseFolder->setText(extraText(ExtraText::BrowseFolders));
    btnDelFolder->setText(langText(26));
}

void BackupFoldersScreen::btnAddFolderClick()
{
    // Where photos are, as the folder chooser starts.
    const QString folder = FolderDialog::getExistingDirectory(
        window(), QStringLiteral("Select Folder"), sharedPicturesFolder());
    if (folder.isEmpty())
        return; // cancelled: nothing is written
    if (refusedAsListed(folder))
        return;
    appendCheckRow(ListBox5, folder);
    storeRows();
}

bool BackupFoldersScreen::refusedAsListed(const QString& folder)
{
    // Listed twice, every file of it would go twice into each job.
    if (!m_host.appLists().holdsFolder(folder))
        return false;
    MessageBox::inform(window(), extraText(ExtraText::FolderAlreadyListed).arg(folder));
    return true;
}

void BackupFoldersScreen::btnDelFolderClick()
{
    removeCheckedRows(ListBox5);
    storeRows();
}

void BackupFoldersScreen::btnChooseFolderClick()
{
    // The callback writes folder.cfg from the rows, so they must hold every
    // stored folder; on this screen they do, as they are built from the
    // list when it opens and again after every failed write.
    m_host.dialogs().chooseFolder->open(
        [this](const QString& ASelectedItem) { ChooseFolderCallBack(ASelectedItem); });
}

void BackupFoldersScreen::ChooseFolderCallBack(const QString& ASelectedItem)
{
    if (!ASelectedItem.isEmpty()) {
        if (refusedAsListed(ASelectedItem))
            return;
        appendCheckRow(ListBox5, ASelectedItem);
    }
    storeRows();
}

void BackupFoldersScreen::storeRows()
{
    if (kyvane::storeRows(ListBox5, m_host.appLists(), AppLists::kFolderFile,
                          &AppLists::storeFolders, &AppLists::folders))
        m_host.recountTodayFiles();
}

} // namespace kyvane
