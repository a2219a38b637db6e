#pragma once

#include "core/AppLists.h"
#include "core/EngineSettings.h"
#include "selection/JobBuilder.h"
#include "transfer/JobObserver.h"
#include "ui/ScreenHost.h"
#include "ui/ScreenIndex.h"
#include "ui/StatusLine.h"
#include "ui/dialogs/Dialogs.h"

#include <QRectF>
#include <QWidget>

#include <atomic>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace kyvane {

class BackupFoldersScreen;
class ExplorerScreen;
class FileExtensionsScreen;
class FittingLabel;
class GeneralSettingsScreen;
class HistoryScreen;
class HomeScreen;
class JobDetailsScreen;
class QueueScreen;
class ServerEditorScreen;
class SettingsListScreen;
class SideMenu;
class SlideTabControl;

// The phone-shaped main window: the frame around the nine screens. It owns
// the header bar, the screen area, the two side menus and the status bar,
// switches screens (ChangeTab, Back, keys), runs the program's start-up and
// close, and forwards what backup workers report to the screens. Each screen
// is a class of its own under ui/screens/ that owns its controls; screens
// reach each other only through this window, as their ScreenHost.
//
// MainWindow.cpp: start-up, close, worker reports. MainWindowFrame.cpp: bars,
// screen area, side menus. Navigation.cpp: screen switch, Back, menus, keys.
// ApplyLanguage.cpp, KeyboardOffset.cpp.
class TForm1 final : public QWidget, public JobObserver, public ScreenHost
{
    Q_OBJECT

public:
    using enum screen::Index;
    static constexpr int ScreenCount = screen::Count;

    // clock is where the scans and job names read "now": tests put it
    // anywhere, also for the count of start-up.
    explicit TForm1(QWidget* parent = nullptr, ScanClock clock = systemNow);
    ~TForm1() override;

    const AppLists& lists() const { return m_lists; }

    // Tests run workers with shorter time-outs.
    void setEngineSettingsForTesting(const EngineSettings& settings)
    {
        m_engineSettings = settings;
    }

    // Tests put "now" of the scans and job names anywhere.
    void setClockForTesting(ScanClock clock) { m_builder = JobBuilder(std::move(clock)); }

    // How long closing waits for running workers to write their job logs.
    static constexpr int kCloseWaitMs = 2000;

    // Writes the texts of the current language into every control that is
    // set once rather than read when shown.
    void ApplyLanguage();

    // Read access for tests and diagnostics.
    int currentTabIndex() const;
    int navMarkerValue() const { return navMarker; }
    bool listingCancelled() const { return cancelListing.load(); }
    QRectF keyboardBounds() const { return FKBBounds; }
    bool keyboardOffsetNeeded() const { return FNeedOffset; }

    // ScreenHost: what the screens ask of the window.
    void ChangeTab(int index) override;
    void setNavMarker(int marker) override { navMarker = marker; }
    void hideQueueMarker() override;
    void openFileExplorer(const QString& folder) override;
    void openJobDetails(const QString& jobName, qint64 jobId) override;
    void setStatusLine(const QString& line) override;
    void setBackEnabled(bool enabled) override;
    // The backup workers' way to this window. Closed when the window closes,
    // so that no worker ever waits for it again.
    std::shared_ptr<ObserverChannel> observerChannel() const override { return m_channel; }
    const EngineSettings& engineSettings() const override { return m_engineSettings; }
    AppLists& appLists() override { return m_lists; }
    const JobBuilder& jobBuilder() const override { return m_builder; }
    void recountTodayFiles() override;
    bool startJob(const QStringList& allEntries, const JobKind& kind) override;
    Dialogs& dialogs() override { return m_dialogs; }
    void prepareSettings() override;
    void openServerEditor(int tag) override;
    void PrepareFolderList() override;
    void PrepareExtList() override;
    void ChooseLanguageCallBack(const QString& AselectedItem) override;

    // JobObserver: what a backup worker reports, through a hand-over onto
    // this thread.
    QObject* context() override;
    void AddToDoList(const QString& tname, const QStringList& files,
                     const QString& currentfile) override;
    void SetToDoListProgressbar(const QString& target, int value, int value2, int value3,
                                const QString& currentfile, const QString& server) override;
    void ShowStatusLine(const QString& line) override;
    void JobEnded(const QString& tname, const OutcomeCounts& run) override;

    // On-screen keyboard notifications, the keyboard's rectangle in screen
    // coordinates.
    void FormVirtualKeyboardShown(const QRectF& bounds);
    void FormVirtualKeyboardHidden(const QRectF& bounds);

    // Lets the server editor's content grow while it is scrolled up for the
    // keyboard, so that the focused field can be scrolled above it.
    void CalcKeyboardContentBounds(QRectF& contentBounds) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Start-up and close (MainWindow.cpp).
    void FormCreate();
    void FormShow();
    // Asks whether to close; false keeps the window open.
    bool FormCloseQuery();
    void FormClose();
    // The dialogs live hidden over the window for the whole run.
    void createDialogs();
    // Opens the outcome store, says when it had to be moved aside or cannot
    // be used, and tidies its records of jobs.
    void openOutcomeStore();

    // Building the frame (MainWindowFrame.cpp).
    void buildFrame();
    QWidget* buildHeader();
    QWidget* buildStatusBar();
    QWidget* buildScreenArea();
    void buildSideMenus(QWidget* screenArea);
    QPushButton* addSideMenuButton(SideMenu* menu, const QString& name, const QString& icon);
    void connectSideMenuCommands();

    // Navigation (Navigation.cpp).
    void SpeedButton1Click();
    void Button1Click();
    void BackAction();
    void Button2Click();
    void Button6Click();
    void MultiView1Hidden();
    void MultiView2Hidden();
    void btnHistoryClick();
    void TabControl1Change();
    // Handles a key release; sets key to 0 when it consumes it.
    void FormKeyUp(int& key, Qt::KeyboardModifiers shift, bool autoRepeat);
    // True while one of the dialogs lies over the screens.
    bool dialogOpen() const;
    void toggleSideMenu(SideMenu* menu);
    void closeSideMenus();
    // Invisible and disabled, as every closed side menu is.
    void hideSideMenu(SideMenu* menu);
    void setHeaderTitle(const QString& title);
    // The status line and the failure mark from m_statusLine.
    void showStatusBar();
    // What a screen reader says of controls that show no text of their own
    // (ApplyLanguage.cpp).
    void nameControlsForScreenReaders();

    // On-screen keyboard (KeyboardOffset.cpp).
    void hookKeyboardNotifications();
    void ApplyKeyboardOffset();
    void ResetKeyboardOffset();

    // Window state.
    AppLists m_lists;
    StatusLine m_statusLine;
    std::shared_ptr<ObserverChannel> m_channel;
    EngineSettings m_engineSettings;
    JobBuilder m_builder;
    Dialogs m_dialogs;
    // Where Back on the Queue screen returns: 2 to the file explorer, any
    // other value home.
    int navMarker = 0;
    // Asks a file-explorer listing under way to stop adding rows; read by
    // the listing thread.
    std::atomic<bool> cancelListing{false};
    // The on-screen keyboard in client coordinates; all zero when none.
    QRectF FKBBounds;
    // True while the server editor is scrolled up for the keyboard.
    bool FNeedOffset = false;

    // Header bar.
    QFrame* HeaderToolBar = nullptr;
    QToolButton* SpeedButton1 = nullptr; // Back
    QToolButton* Button1 = nullptr;      // Back as well, never shown
    QToolButton* Button2 = nullptr;      // file explorer menu
    QToolButton* Button6 = nullptr;      // Queue screen menu
    FittingLabel* Label1 = nullptr;      // product title
    FittingLabel* Label5 = nullptr;      // screen title

    // Status bar.
    QFrame* ToolBar1 = nullptr;
    QLabel* Label4 = nullptr;         // newest log line
    QLabel* imgFailureMark = nullptr; // a failure the user has not seen in the queue

    // Screen area; the screens are its pages TabItem1 ... TabItem10.
    SlideTabControl* TabControl1 = nullptr;
    HomeScreen* m_home = nullptr;
    SettingsListScreen* m_settingsList = nullptr;
    ExplorerScreen* m_explorer = nullptr;
    QueueScreen* m_queue = nullptr;
    ServerEditorScreen* m_serverEditor = nullptr;
    GeneralSettingsScreen* m_generalSettings = nullptr;
    BackupFoldersScreen* m_backupFolders = nullptr;
    FileExtensionsScreen* m_fileExtensions = nullptr;
    JobDetailsScreen* m_jobLog = nullptr; // the job log, grown into the job's details
    HistoryScreen* m_history = nullptr;
    // Where Back on the job details returns: the Queue or the History.
    int m_detailsReturn = Queue;

    // Side menus, sliding in from the right: the file explorer's and the
    // Queue screen's.
    SideMenu* MultiView1 = nullptr;
    QPushButton* btnSelectAll2 = nullptr;
    QPushButton* btnSelectNone2 = nullptr;
    QPushButton* btnBackup = nullptr;
    QPushButton* btnQueue = nullptr;
    SideMenu* MultiView2 = nullptr;
    QPushButton* btnSelectAll = nullptr;
    QPushButton* btnSelectNone = nullptr;
    QPushButton* btnStop = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnHistory = nullptr;
};

} // namespace kyvane
