#pragma once

#include "core/AppLists.h"
#include "core/EngineSettings.h"
#include "transfer/JobObserver.h"

#include <QRectF>
#include <QSet>
#include <QWidget>

#include <atomic>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace kyvane {

class ClickableFrame;
class ClickableLabel;
class FittingLabel;
class ObserverChannel;
class QueueList;
class QueueRow;
class SideMenu;
class SlideTabControl;

// The phone-shaped main window: a header bar, nine screens of which one is
// shown at a time, and a status bar. Its creation runs the program's
// start-up. Its code is split by screen: MainWindow.cpp (start-up, close,
// status line), MainWindowFrame.cpp (bars, screen area, side menus),
// Navigation.cpp (screen switch, Back, menus, keys), one file per screen
// (HomeScreen, ExplorerScreen, QueueScreen, SettingsScreens, LogScreen),
// ApplyLanguage.cpp and KeyboardOffset.cpp.
//
// Controls carry the names the behaviour is written in, as members and as
// object names.
class TForm1 final : public QWidget, public JobObserver
{
    Q_OBJECT

public:
    // Screen indexes, in page order.
    enum Screen {
        Home = 0,
        SettingsList = 1,
        FileExplorer = 2,
        Queue = 3,
        ServerEditor = 4,
        GeneralSettings = 5,
        BackupFolders = 6,
        FileExtensions = 7,
        JobLog = 8,
        ScreenCount = 9
    };

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    const AppLists& lists() const { return m_lists; }

    // The backup workers' way to this window. Closed when the window closes,
    // so that no worker ever waits for it again.
    std::shared_ptr<ObserverChannel> observerChannel() const { return m_channel; }

    // Tests run workers with shorter time-outs.
    void setEngineSettingsForTesting(const EngineSettings& settings) { m_engineSettings = settings; }

    // How long closing waits for running workers to write their job logs.
    static constexpr int kCloseWaitMs = 2000;

    // Switches to screen index (0 to 8) and sets the header for it; any other
    // index does nothing.
    void ChangeTab(int index);

    // Writes the texts of the current language into the controls that are
    // set once rather than read when shown.
    void ApplyLanguage();

    // Read access for tests and diagnostics.
    int currentTabIndex() const;
    int navMarkerValue() const { return navMarker; }
    bool listingCancelled() const { return cancelListing.load(); }
    QRectF keyboardBounds() const { return FKBBounds; }
    bool keyboardOffsetNeeded() const { return FNeedOffset; }

    // What a backup worker reports, through handOver() onto this thread.
    QObject* context() override;
    void AddToDoList(const QString& tname, const QStringList& files,
                     const QString& currentfile) override;
    void SetToDoListProgressbar(const QString& target, int value, int value2, int value3,
                                const QString& currentfile, const QString& server) override;
    void ShowStatusLine(const QString& line) override;
    void JobEnded(const QString& tname) override;

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

    // Building the window (MainWindowFrame.cpp and the screen files).
    void buildFrame();
    QWidget* buildHeader();
    QWidget* buildStatusBar();
    QWidget* buildScreenArea();
    void buildSideMenus(QWidget* screenArea);
    QPushButton* addSideMenuButton(SideMenu* menu, const QString& name, const QString& icon);
    void buildHomePage(QWidget* page);
    void buildSettingsListPage(QWidget* page);
    void buildExplorerPage(QWidget* page);
    void buildQueuePage(QWidget* page);
    void buildServerEditorPage(QWidget* page);
    void buildGeneralSettingsPage(QWidget* page);
    void buildBackupFoldersPage(QWidget* page);
    void buildFileExtensionsPage(QWidget* page);
    void buildLogPage(QWidget* page);

    // Navigation (Navigation.cpp).
    void SpeedButton1Click();
    void Button1Click();
    void BackAction();
    void Button2Click();
    void Button6Click();
    void MultiView1Hidden();
    void MultiView2Hidden();
    void TabControl1Change();
    // Handles a key release; sets key to 0 when it consumes it.
    void FormKeyUp(int& key, Qt::KeyboardModifiers shift, bool autoRepeat);
    static bool isBackKey(int key, Qt::KeyboardModifiers shift);
    void toggleSideMenu(SideMenu* menu);
    void closeSideMenus();
    void setHeaderTitle(const QString& title);

    // Home page (HomeScreen.cpp).
    void rectBackupManuallyClick();
    void rectSetupClick();
    void rectQueueClick();
    void showTodayFileCount();
    static QString sharedPicturesFolder();

    // Queue commands and the job log (QueueCommands.cpp).
    void connectQueueCommands();
    // Starts a worker for every job file left in the program folder.
    void startJobFiles(bool reportUnreadable);
    void btnStartClick();
    void btnStopClick();
    void btnDeleteClick();
    void btnSelectAllClick();
    void btnSelectNoneClick();
    void ListBox2ItemClick(QueueRow* row);

    // File explorer (ExplorerScreen.cpp).
    void btnQueueClick();

    // On-screen keyboard (KeyboardOffset.cpp).
    void hookKeyboardNotifications();
    void ApplyKeyboardOffset();
    void ResetKeyboardOffset();

    // Window state.
    AppLists m_lists;
    std::shared_ptr<ObserverChannel> m_channel;
    EngineSettings m_engineSettings;
    // Jobs that Start found still running (often still stopping): each
    // starts again from its file as soon as its worker has ended.
    QSet<QString> m_restartWhenEnded;
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
    // Today's media files, shown on the home page's banner.
    int m_todayFileCount = 0;

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
    QLabel* Label4 = nullptr; // newest log line

    // Screen area and its pages TabItem1 ... TabItem9.
    SlideTabControl* TabControl1 = nullptr;
    QWidget* TabItem1 = nullptr;
    QWidget* TabItem2 = nullptr;
    QWidget* TabItem3 = nullptr;
    QWidget* TabItem4 = nullptr;
    QWidget* TabItem5 = nullptr;
    QWidget* TabItem6 = nullptr;
    QWidget* TabItem7 = nullptr;
    QWidget* TabItem8 = nullptr;
    QWidget* TabItem9 = nullptr;

    // Side menus, sliding in from the right.
    SideMenu* MultiView1 = nullptr; // file explorer
    QPushButton* btnSelectAll2 = nullptr;
    QPushButton* btnSelectNone2 = nullptr;
    QPushButton* btnBackup = nullptr;
    QPushButton* btnQueue = nullptr;
    SideMenu* MultiView2 = nullptr; // Queue screen
    QPushButton* btnSelectAll = nullptr;
    QPushButton* btnSelectNone = nullptr;
    QPushButton* btnStop = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnDelete = nullptr;

    // Home page.
    ClickableFrame* Rectangle3 = nullptr; // today banner
    QLabel* lbTodayFileCount = nullptr;
    QLabel* Label2 = nullptr;
    QWidget* ListBox7 = nullptr; // tile grid
    QWidget* ListBoxItem7 = nullptr;
    QWidget* ListBoxItem8 = nullptr;
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
    // Hidden buttons that only receive the tile texts.
    QPushButton* btnBackupTODAY = nullptr;
    QPushButton* btnBackup5Days = nullptr;
    QPushButton* btnBackupFILESByDATE = nullptr;
    QPushButton* btnBackupManually = nullptr;
    QPushButton* btnSettings = nullptr;
    QPushButton* btnViewQueue = nullptr;

    // Settings list.
    QListWidget* ListBox3 = nullptr;
    QPushButton* Button8 = nullptr; // never shown

    // File explorer.
    QToolButton* Button13 = nullptr; // go up
    QLineEdit* Edit1 = nullptr;      // path field
    QToolButton* Button4 = nullptr;  // go
    QListWidget* ListView1 = nullptr;
    QLabel* lblWait = nullptr;

    // Queue screen.
    QueueList* ListBox2 = nullptr;

    // Server editor.
    QScrollArea* VertScrollBox2 = nullptr;
    QWidget* Layout1 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* edtServer = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* edtPort = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* edtAccount = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* edtPassword = nullptr;
    QLabel* lbleavepwempty = nullptr;
    QPushButton* btnOK = nullptr;
    ClickableLabel* Label12 = nullptr; // delete server

    // General settings, backup folders, file extensions.
    QListWidget* ListBox4 = nullptr;
    QListWidget* ListBox5 = nullptr;
    QPushButton* btnAddFolder = nullptr;
    QPushButton* btnDelFolder = nullptr;
    QListWidget* ListBox6 = nullptr;
    QPushButton* btnAddExt = nullptr;
    QPushButton* btnDelExt = nullptr;

    // Job log.
    QPlainTextEdit* Memo1 = nullptr;
};

} // namespace kyvane
