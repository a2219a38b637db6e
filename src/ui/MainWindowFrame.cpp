// The frame of the main window: header bar, screen area with its ten
// screens, side menus and status bar.

#include "ui/Icons.h"
#include "ui/Look.h"
#include "ui/MainWindow.h"
#include "ui/screens/BackupFoldersScreen.h"
#include "ui/screens/ExplorerScreen.h"
#include "ui/screens/FileExtensionsScreen.h"
#include "ui/screens/GeneralSettingsScreen.h"
#include "ui/screens/HistoryScreen.h"
#include "ui/screens/HomeScreen.h"
#include "ui/screens/JobDetailsScreen.h"
#include "ui/screens/QueueScreen.h"
#include "ui/screens/ServerEditorScreen.h"
#include "ui/screens/SettingsListScreen.h"
#include "ui/widgets/FittingLabel.h"
#include "ui/widgets/SideMenu.h"
#include "ui/widgets/SlideTabControl.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kyvane {

namespace {

constexpr int kBarHeight = 48;

QToolButton* headerButton(QWidget* parent, const QString& name, const QString& icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(Icons::icon(icon));
    button->setIconSize(QSize(24, 24));
    button->setFixedSize(kBarHeight, kBarHeight);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

void TForm1::buildFrame()
{
    Look::installFontFallbacks();
    // The background of a plain widget is drawn from the style sheet only
    // when asked for.
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(Look::styleSheet());

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildHeader());
    column->addWidget(buildScreenArea(), 1);
    column->addWidget(buildStatusBar());

    connectSideMenuCommands();
}

QWidget* TForm1::buildHeader()
{
    HeaderToolBar = new QFrame(this);
    HeaderToolBar->setObjectName(QStringLiteral("HeaderToolBar"));
    HeaderToolBar->setFixedHeight(kBarHeight);

    Label1 = new FittingLabel(HeaderToolBar);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label5 = new FittingLabel(HeaderToolBar);
    Label5->setObjectName(QStringLiteral("Label5"));

    SpeedButton1 =
        headerButton(HeaderToolBar, QStringLiteral("SpeedButton1"), QStringLiteral("back"));
    Button1 = headerButton(HeaderToolBar, QStringLiteral("Button1"), QStringLiteral("back"));
    Button1->hide();
    Button2 = headerButton(HeaderToolBar, QStringLiteral("Button2"), QStringLiteral("menu"));
    Button6 = headerButton(HeaderToolBar, QStringLiteral("Button6"), QStringLiteral("menu"));

    // The titles lie between two button places that stay reserved, so they
    // stay centred whichever buttons are shown.
    auto* grid = new QGridLayout(HeaderToolBar);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->setColumnMinimumWidth(0, kBarHeight);
    grid->setColumnMinimumWidth(2, kBarHeight);
    grid->setColumnStretch(1, 1);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(Label5, 0, 1);
    grid->addWidget(SpeedButton1, 0, 0);
    grid->addWidget(Button1, 0, 0);
    grid->addWidget(Button2, 0, 2);
    grid->addWidget(Button6, 0, 2);

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(Button1, &QToolButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QToolButton::clicked, this, &TForm1::Button2Click);
    connect(Button6, &QToolButton::clicked, this, &TForm1::Button6Click);
    return HeaderToolBar;
}

QWidget* TForm1::buildStatusBar()
{
    ToolBar1 = new QFrame(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(kBarHeight);
    // Only shows; taps go nowhere.
    ToolBar1->setFocusPolicy(Qt::NoFocus);

    Label4 = new QLabel(ToolBar1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setTextFormat(Qt::PlainText);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long log line wraps within the bar instead of widening the window.
    Label4->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    imgFailureMark = new QLabel(ToolBar1);
    imgFailureMark->setObjectName(QStringLiteral("imgFailureMark"));
    imgFailureMark->setFixedSize(12, 12);
    imgFailureMark->hide();

    auto* row = new QHBoxLayout(ToolBar1);
    row->setContentsMargins(10, 0, 10, 0);
    row->setSpacing(6);
    row->addWidget(imgFailureMark);
    row->addWidget(Label4);
    return ToolBar1;
}

QWidget* TForm1::buildScreenArea()
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("screenArea"));

    TabControl1 = new SlideTabControl(area);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    m_home = new HomeScreen(*this);
    m_settingsList = new SettingsListScreen(*this);
    m_explorer = new ExplorerScreen(*this, cancelListing);
    m_queue = new QueueScreen(*this);
    m_serverEditor = new ServerEditorScreen(*this);
    m_generalSettings = new GeneralSettingsScreen(*this);
    m_backupFolders = new BackupFoldersScreen(*this);
    m_fileExtensions = new FileExtensionsScreen(*this);
    m_jobLog = new JobDetailsScreen;
    m_history = new HistoryScreen(*this);
    // In screen index order.
    QWidget* const pages[] = {m_home,         m_settingsList,    m_explorer,      m_queue,
                              m_serverEditor, m_generalSettings, m_backupFolders, m_fileExtensions,
                              m_jobLog,       m_history};
    int number = 1;
    for (QWidget* page : pages) {
        page->setObjectName(QStringLiteral("TabItem%1").arg(number++));
        TabControl1->addPage(page);
    }
    connect(TabControl1, &SlideTabControl::currentChanged, this, &TForm1::TabControl1Change);

    // The side menus lie over the screens, in the same place.
    auto* stack = new QGridLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(TabControl1, 0, 0);
    buildSideMenus(area);
    stack->addWidget(MultiView1, 0, 0);
    stack->addWidget(MultiView2, 0, 0);
    return area;
}

void TForm1::buildSideMenus(QWidget* screenArea)
{
    MultiView1 = new SideMenu(screenArea);
    MultiView1->setObjectName(QStringLiteral("MultiView1"));
    btnSelectAll2 = addSideMenuButton(MultiView1, QStringLiteral("btnSelectAll2"),
                                      QStringLiteral("select-all"));
    btnSelectNone2 = addSideMenuButton(MultiView1, QStringLiteral("btnSelectNone2"),
                                       QStringLiteral("select-none"));
    btnBackup =
        addSideMenuButton(MultiView1, QStringLiteral("btnBackup"), QStringLiteral("upload"));
    btnQueue =
        addSideMenuButton(MultiView1, QStringLiteral("btnQueue"), QStringLiteral("checklist"));

    MultiView2 = new SideMenu(screenArea);
    MultiView2->setObjectName(QStringLiteral("MultiView2"));
    btnSelectAll =
        addSideMenuButton(MultiView2, QStringLiteral("btnSelectAll"), QStringLiteral("select-all"));
    btnSelectNone = addSideMenuButton(MultiView2, QStringLiteral("btnSelectNone"),
                                      QStringLiteral("select-none"));
    btnStop = addSideMenuButton(MultiView2, QStringLiteral("btnStop"), QStringLiteral("stop"));
    btnStart = addSideMenuButton(MultiView2, QStringLiteral("btnStart"), QStringLiteral("start"));
    btnDelete =
        addSideMenuButton(MultiView2, QStringLiteral("btnDelete"), QStringLiteral("delete"));
    btnHistory =
        addSideMenuButton(MultiView2, QStringLiteral("btnHistory"), QStringLiteral("history"));

    for (SideMenu* menu : {MultiView1, MultiView2}) {
        menu->setVisible(false);
        menu->setEnabled(false);
    }
    connect(MultiView1, &SideMenu::hidden, this, &TForm1::MultiView1Hidden);
    connect(MultiView2, &SideMenu::hidden, this, &TForm1::MultiView2Hidden);
}

void TForm1::connectSideMenuCommands()
{
    // The file explorer's menu: each command closes the menu, so the user
    // sees what it did to the rows.
    connect(btnSelectAll2, &QPushButton::clicked, this, [this] {
        closeSideMenus();
        m_explorer->btnSelectAll2Click();
    });
    connect(btnSelectNone2, &QPushButton::clicked, this, [this] {
        closeSideMenus();
        m_explorer->btnSelectNone2Click();
    });
    connect(btnBackup, &QPushButton::clicked, this, [this] {
        closeSideMenus();
        m_explorer->btnBackupClick();
    });
    connect(btnQueue, &QPushButton::clicked, this, [this] {
        hideQueueMarker();
        navMarker = FileExplorer;
        ChangeTab(Queue);
    });

    // The Queue screen's menu: each command closes the menu, then acts on
    // the queue.
    connect(btnStart, &QPushButton::clicked, this, [this] {
        closeSideMenus();
        m_queue->btnStartClick();
    });
    connect(btnStop, &QPushButton::clicked, this, [this] {
        closeSideMenus();
        m_queue->btnStopClick();
    });
    connect(btnDelete, &QPushButton::clicked, this, [this] {
        MultiView2->closeDrawer();
        m_queue->btnDeleteClick();
    });
    connect(btnHistory, &QPushButton::clicked, this, &TForm1::btnHistoryClick);
    connect(btnSelectAll, &QPushButton::clicked, m_queue, &QueueScreen::btnSelectAllClick);
    connect(btnSelectNone, &QPushButton::clicked, m_queue, &QueueScreen::btnSelectNoneClick);

    // Retry on a job's details starts that job again and shows the queue.
    // The name is copied: clearing the screen empties the text it came from.
    connect(m_jobLog, &JobDetailsScreen::retryRequested, this, [this](QString jobName) {
        m_jobLog->clear();
        m_queue->retryJob(jobName);
        ChangeTab(Queue);
    });
}

QPushButton* TForm1::addSideMenuButton(SideMenu* menu, const QString& name, const QString& icon)
{
    auto* button = new QPushButton(menu->panel());
    button->setObjectName(name);
    button->setIcon(Icons::icon(icon));
    button->setFocusPolicy(Qt::NoFocus);
    menu->addButton(button);
    return button;
}

} // namespace kyvane
