#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace kyvane {

class ScreenHost;

// The backup folders: the folders whose media files the scans collect.
class BackupFoldersScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit BackupFoldersScreen(ScreenHost& host, QWidget* parent = nullptr);

    void applyLanguage();

private:
    ScreenHost& m_host;

    QListWidget* ListBox5 = nullptr;
    QPushButton* btnAddFolder = nullptr;
    QPushButton* btnDelFolder = nullptr;
};

} // namespace kyvane
