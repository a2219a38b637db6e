#pragma once

#include "selection/JobBuilder.h"

#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;

namespace kyvane {

class ClickableFrame;
class HandOverChannel;
class NoteLabel;
class ScreenHost;

// The home page: the banner with today's file count and the six tiles.
class HomeScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit HomeScreen(ScreenHost& host, QWidget* parent = nullptr);
    ~HomeScreen() override;

    // The banner shows count with the text of the current language.
    void setTodayFileCount(int count);
    void showTodayFileCount();
    // Counts today's files anew off this thread; the banner shows the count
    // once it is known. Asked for while a count runs, it follows that one.
    void recountTodayFiles();

    // While a scan of the backup folders runs; its tiles are disabled.
    bool isScanning() const { return m_scanning; }
    bool isCounting() const { return m_counting; }

    // The red spot on the queue tile: a queue row the user has not seen yet.
    void showQueueMarker();
    void hideQueueMarker();

    void applyLanguage();

private:
    void buildBanner();
    void buildTiles();
    void buildHiddenTextButtons();

    // The tiles that scan the backup folders.
    void rectBackupTodayClick();
    void rectBackup5daysClick();
    void rectBackupByDateClick();
    void DatePickerCallBack(const QString& AselectedItem);
    void Rectangle3Click();

    // Whether a server and a backup folder are set up; says which is
    // missing when not.
    bool listsReady();
    // Runs the scan off this thread; the scan tiles stay disabled until it
    // has ended and its job has started.
    void startScan(const ScanRequest& request);
    void scanEnded(const ScanRequest& request, const ScanResult& result);
    void setScanTilesEnabled(bool enabled);
    // The note under the tiles: what the newest scan or count passed over.
    void showPassedOver(const QStringList& folders, const QStringList& files);

    void rectBackupManuallyClick();
    void rectSetupClick();
    void rectQueueClick();

    ScreenHost& m_host;
    int m_todayFileCount = 0;
    // How background scans and counts reach this screen; closed when it goes.
    std::shared_ptr<HandOverChannel> m_background;
    bool m_scanning = false;
    bool m_counting = false;
    bool m_recountWanted = false;
    QStringList m_passedOverFolders;
    QStringList m_passedOverFiles;

    ClickableFrame* Rectangle3 = nullptr; // today banner
    QLabel* lbTodayFileCount = nullptr;
    QLabel* Label2 = nullptr;
    QWidget* ListBox7 = nullptr; // tile grid
    ClickableFrame* rectBackupToday = nullptr;
    ClickableFrame* rectBackup5days = nullptr;
    ClickableFrame* rectBackupByDate = nullptr;
    ClickableFrame* rectBackupManually = nullptr;
    ClickableFrame* rectSetup = nullptr;
    ClickableFrame* rectQueue = nullptr;
    QLabel* lbBackupToday = nullptr;
    QLabel* lbBackup5Days = nullptr;
    QLabel* lbBackupByDate = nullptr;
    QLabel* lbBackupManually = nullptr;
    QLabel* lbSettings = nullptr;
    QLabel* lbViewQueue = nullptr;
    QLabel* imgRedSpot = nullptr; // queue marker
    // Folders and files the newest scan passed over; it blocks nothing.
    NoteLabel* lblPassedOver = nullptr;
    // Buttons that only receive the tile texts and are never shown.
    QPushButton* btnBackupTODAY = nullptr;
    QPushButton* btnBackup5Days = nullptr;
    QPushButton* btnBackupFILESByDATE = nullptr;
    QPushButton* btnBackupManually = nullptr;
    QPushButton* btnSettings = nullptr;
    QPushButton* btnViewQueue = nullptr;
};

} // namespace kyvane
