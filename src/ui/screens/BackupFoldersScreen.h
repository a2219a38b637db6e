#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace kyvane {

class EmptyListHint;

class ScreenHost;

// The backup folders: the folders whose media files the scans collect.
// Folders are added through the platform's folder dialog (Add) or the
// program's own folder chooser (Browse), and removed by checking them.
class BackupFoldersScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit BackupFoldersScreen(ScreenHost& host, QWidget* parent = nullptr);

    // Builds the rows from the folder list.
    void PrepareFolderList();

    void applyLanguage();

private:
    void btnAddFolderClick();
    void btnDelFolderClick();
    // Opens the folder chooser over the rows built from the folder list.
    void btnChooseFolderClick();
    void ChooseFolderCallBack(const QString& ASelectedItem);
    // Says so and is true when folder is in the list already.
    bool refusedAsListed(const QString& folder);
    // folder.cfg and the folder list from the rows.
    void storeRows();

    ScreenHost& m_host;

    QListWidget* ListBox5 = nullptr;
    EmptyListHint* lblFoldersEmpty = nullptr; // what to do while the list is empty
    QPushButton* btnAddFolder = nullptr;
    QPushButton* btnChooseFolder = nullptr;
    QPushButton* btnDelFolder = nullptr;
};

} // namespace kyvane
