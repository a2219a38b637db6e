#pragma once

#include "selection/JobBuilder.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace kyvane {

class ClickableFrame;
class ScreenHost;

// The home page: the banner with today's file count and the six tiles.
class HomeScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit HomeScreen(ScreenHost& host, QWidget* parent = nullptr);

    // The banner shows count with the text of the current language.
    void setTodayFileCount(int count);
    void showTodayFileCount();

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
    // Runs the scan once the current event is handled; tile, if any, stays
    // disabled until it has ended.
    void startScan(const ScanRequest& request, QWidget* tile);
    void runScan(const ScanRequest& request);

    void rectBackupManuallyClick();
    void rectSetupClick();
    void rectQueueClick();

    ScreenHost& m_host;
    int m_todayFileCount = 0;

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
    // Buttons that only receive the tile texts and are never shown.
    QPushButton* btnBackupTODAY = nullptr;
    QPushButton* btnBackup5Days = nullptr;
    QPushButton* btnBackupFILESByDATE = nullptr;
    QPushButton* btnBackupManually = nullptr;
    QPushButton* btnSettings = nullptr;
    QPushButton* btnViewQueue = nullptr;
};

} // namespace kyvane
