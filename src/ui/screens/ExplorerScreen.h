#pragma once

#include "selection/FolderListingThread.h"

#include <QWidget>

#include <atomic>
#include <memory>

class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QToolButton;

namespace kyvane {

class ExplorerListModel;
class HandOverChannel;
class ScreenHost;
class ExplorerThumbnails;
class NoteLabel;

// The file explorer: a path bar over the list of a folder's sub-folders and
// files, a wait label while a folder is listed, and the commands of its side
// menu. A folder is listed on a thread of its own (FolderListingThread)
// that hands the rows over to this screen.
class ExplorerScreen final : public QWidget, private ListingSink
{
    Q_OBJECT

public:
    // cancelListing is the window's flag that stops a listing under way.
    ExplorerScreen(ScreenHost& host, std::atomic<bool>& cancelListing, QWidget* parent = nullptr);
    ~ExplorerScreen() override;

    QString folder() const;
    void setFolder(const QString& folder);

    // Lists path_tr in place of the rows shown. Returns at once; the
    // listing goes on in the background, and a listing still under way
    // stops adding rows first.
    void TotalWork(const QString& path_tr);

    // The hardware Back key on this screen: the parent folder of the path.
    void BackKey();

    // The side menu's commands.
    void btnSelectAll2Click();
    void btnSelectNone2Click();
    void btnBackupClick();

    // From the start of a listing to its finish step.
    bool isListing() const { return m_listing != nullptr; }
    // While thumbnails asked for are still being made.
    bool isMakingThumbnails() const;

    // A job has ended: the last backup shown for the clicked file may have
    // changed.
    void refreshBackupRecord();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ListingSink: the listing's steps, run here while it waits.
    void listingPrepared() override;
    void addFolderRows(const QStringList& fullPaths, qsizetype filesToCome) override;
    bool addFileRows(std::vector<ListedFile>& files) override;
    void listingFinished(bool readable, const QStringList& passedOver) override;

    void ListView1ItemClick(const QModelIndex& index);
    void ListView1DblClick();
    void Button13Click();
    void Button4Click();
    void Edit1Enter();
    // A file row's time, size and thumbnail, read on a click.
    void showFileDetails(int row);
    // Under the list: when and where the file at path was last backed up.
    void showBackupRecord(const QString& path);

    ScreenHost& m_host;
    std::atomic<bool>& m_cancelListing;
    // The listing under way; closing it stops it without reaching this
    // screen again.
    std::shared_ptr<HandOverChannel> m_listing;
    QString m_listingFolder;
    ExplorerThumbnails* m_thumbnails = nullptr;
    QString m_recordPath; // the file whose last backup is shown

    QToolButton* Button13 = nullptr; // go up
    QLineEdit* Edit1 = nullptr;      // path field
    QToolButton* Button4 = nullptr;  // go
    QListView* ListView1 = nullptr;
    ExplorerListModel* m_model = nullptr;
    QLabel* lblWait = nullptr;
    QLabel* lblCannotList = nullptr;         // the folder could not be listed
    NoteLabel* lblPassedOverNames = nullptr; // names that cannot be backed up
    QLabel* lblBackupRecord = nullptr;       // the clicked file's last backup
};

} // namespace kyvane
