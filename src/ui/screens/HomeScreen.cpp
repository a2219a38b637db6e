#include "ui/screens/HomeScreen.h"

#include "core/AppLists.h"
#include "core/PicturesFolder.h"
#include "i18n/LanguageRes.h"
#include "i18n/PassedOverNote.h"
#include "ui/Icons.h"
#include "ui/MessageBox.h"
#include "ui/ScreenHost.h"
#include "ui/ScreenIndex.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/TfrmDatePicker.h"
#include "ui/widgets/ClickableFrame.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace kyvane {

namespace {

constexpr int kTileRowHeight = 80;
constexpr int kTileIconSize = 32;

} // namespace

HomeScreen::HomeScreen(ScreenHost& host, QWidget* parent) : QWidget(parent), m_host(host)
{
    buildBanner();
    buildTiles();
    buildHiddenTextButtons();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 10, 8, 8);
    column->setSpacing(10);
    column->addWidget(Rectangle3);
    column->addWidget(ListBox7);
    column->addStretch(1);

    connect(Rectangle3, &ClickableFrame::clicked, this, &HomeScreen::Rectangle3Click);
    connect(rectBackupToday, &ClickableFrame::clicked, this, &HomeScreen::rectBackupTodayClick);
    connect(rectBackup5days, &ClickableFrame::clicked, this, &HomeScreen::rectBackup5daysClick);
    connect(rectBackupByDate, &ClickableFrame::clicked, this, &HomeScreen::rectBackupByDateClick);
    connect(rectBackupManually, &ClickableFrame::clicked, this,
            &HomeScreen::rectBackupManuallyClick);
    connect(rectSetup, &ClickableFrame::clicked, this, &HomeScreen::rectSetupClick);
    connect(rectQueue, &ClickableFrame::clicked, this, &HomeScreen::rectQueueClick);
}

void HomeScreen::buildBanner()
{
    Rectangle3 = new ClickableFrame(this);
    Rectangle3->setObjectName(QStringLiteral("Rectangle3"));
    Rectangle3->setFixedHeight(76);
    auto* logo = new QLabel(Rectangle3);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(Icons::pixmap(QStringLiteral("logo"), QSize(48, 48), devicePixelRatioF()));
    lbTodayFileCount = new QLabel(Rectangle3);
    lbTodayFileCount->setObjectName(QStringLiteral("lbTodayFileCount"));
    Label2 = new QLabel(Rectangle3);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->hide();
    auto* banner = new QHBoxLayout(Rectangle3);
    banner->setContentsMargins(14, 6, 14, 6);
    banner->setSpacing(12);
    banner->addWidget(logo);
    banner->addWidget(lbTodayFileCount, 1);
}

void HomeScreen::buildTiles()
{
    ListBox7 = new QWidget(this);
    ListBox7->setObjectName(QStringLiteral("ListBox7"));
    auto* grid = new QGridLayout(ListBox7);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(8);

    struct Tile
    {
        ClickableFrame** frame;
        const char* name;
        const char* icon;
        QLabel** label;
        const char* labelName;
    };
    const Tile tiles[] = {
        {&rectBackupToday, "rectBackupToday", "upload", &lbBackupToday, "lbBackupToday"},
        {&rectBackup5days, "rectBackup5days", "upload", &lbBackup5Days, "lbBackup5Days"},
        {&rectBackupByDate, "rectBackupByDate", "upload", &lbBackupByDate, "lbBackupByDate"},
        {&rectBackupManually, "rectBackupManually", "upload", &lbBackupManually,
         "lbBackupManually"},
        {&rectSetup, "rectSetup", "settings", &lbSettings, "lbSettings"},
        {&rectQueue, "rectQueue", "checklist", &lbViewQueue, "lbViewQueue"},
    };
    int cell = 0;
    for (const Tile& tile : tiles) {
        auto* item = new QWidget(ListBox7);
        item->setObjectName(QStringLiteral("ListBoxItem%1").arg(cell + 1));
        item->setFixedHeight(kTileRowHeight);
        auto* itemLayout = new QVBoxLayout(item);
        itemLayout->setContentsMargins(0, 0, 0, 0);
        *tile.frame = new ClickableFrame(item);
        (*tile.frame)->setObjectName(QString::fromLatin1(tile.name));
        itemLayout->addWidget(*tile.frame);

        auto* icon = new QLabel(*tile.frame);
        icon->setObjectName(QString::fromLatin1(tile.name) + QStringLiteral("Icon"));
        icon->setPixmap(Icons::pixmap(QString::fromLatin1(tile.icon),
                                      QSize(kTileIconSize, kTileIconSize), devicePixelRatioF()));
        icon->setAlignment(Qt::AlignCenter);
        // Room at both sides of the icon, for the queue marker at its left.
        icon->setFixedSize(kTileIconSize + 28, kTileIconSize);
        *tile.label = new QLabel(*tile.frame);
        (*tile.label)->setObjectName(QString::fromLatin1(tile.labelName));
        (*tile.label)->setAlignment(Qt::AlignCenter);
        auto* content = new QVBoxLayout(*tile.frame);
        content->setContentsMargins(6, 8, 6, 8);
        content->setSpacing(4);
        content->addWidget(icon, 0, Qt::AlignHCenter);
        content->addWidget(*tile.label);

        grid->addWidget(item, cell / 2, cell % 2);
        ++cell;
    }

    // The queue marker sits at the left edge of the queue tile's icon.
    imgRedSpot = new QLabel(rectQueue->findChild<QLabel*>(QStringLiteral("rectQueueIcon")));
    imgRedSpot->setObjectName(QStringLiteral("imgRedSpot"));
    imgRedSpot->setFixedSize(16, 16);
    imgRedSpot->move(4, 0);
    imgRedSpot->hide();

    // The fourth row: two cells that show as empty space.
    for (const char* name : {"ListBoxItem7", "ListBoxItem8"}) {
        auto* item = new QWidget(ListBox7);
        item->setObjectName(QString::fromLatin1(name));
        item->setFixedHeight(kTileRowHeight);
        grid->addWidget(item, 3, cell++ % 2);
    }
}

void HomeScreen::buildHiddenTextButtons()
{
    const std::pair<QPushButton**, const char*> buttons[] = {
        {&btnBackupTODAY, "btnBackupTODAY"},
        {&btnBackup5Days, "btnBackup5Days"},
        {&btnBackupFILESByDATE, "btnBackupFILESByDATE"},
        {&btnBackupManually, "btnBackupManually"},
        {&btnSettings, "btnSettings"},
        {&btnViewQueue, "btnViewQueue"},
    };
    for (const auto& [button, name] : buttons) {
        *button = new QPushButton(this);
        (*button)->setObjectName(QString::fromLatin1(name));
        (*button)->hide();
    }
}

void HomeScreen::setTodayFileCount(int count)
{
    m_todayFileCount = count;
    showTodayFileCount();
}

void HomeScreen::showTodayFileCount()
{
    lbTodayFileCount->setText(langText(1) + QStringLiteral(": ") +
                              QString::number(m_todayFileCount));
}

void HomeScreen::showQueueMarker()
{
    imgRedSpot->show();
}

void HomeScreen::hideQueueMarker()
{
    imgRedSpot->hide();
}

void HomeScreen::applyLanguage()
{
    const std::pair<QLabel*, int> labels[] = {
        {Label2, 1},           {lbBackupToday, 2}, {lbBackup5Days, 3}, {lbBackupByDate, 4},
        {lbBackupManually, 5}, {lbSettings, 6},    {lbViewQueue, 7},
    };
    for (const auto& [label, key] : labels)
        label->setText(langText(key));

    const std::pair<QPushButton*, int> buttons[] = {
        {btnBackupTODAY, 2},    {btnBackup5Days, 3}, {btnBackupFILESByDATE, 4},
        {btnBackupManually, 5}, {btnSettings, 6},    {btnViewQueue, 7},
    };
    for (const auto& [button, key] : buttons)
        button->setText(langText(key));

    showTodayFileCount();
}

void HomeScreen::Rectangle3Click()
{
    setTodayFileCount(m_host.jobBuilder().GetTodayFileCount(m_host.appLists()));
}

bool HomeScreen::listsReady()
{
    const AppLists& lists = m_host.appLists();
    if (lists.servers.isEmpty()) {
        MessageBox::inform(window(), langText(42));
        return false;
    }
    if (lists.folders.isEmpty()) {
        MessageBox::inform(window(), langText(43));
        return false;
    }
    return true;
}

void HomeScreen::rectBackupTodayClick()
{
    if (listsReady())
        startScan(ScanRequest{ScanRequest::Kind::Today, {}, {}}, rectBackupToday);
}

void HomeScreen::rectBackup5daysClick()
{
    if (listsReady())
        startScan(ScanRequest{ScanRequest::Kind::FiveDays, {}, {}}, rectBackup5days);
}

void HomeScreen::rectBackupByDateClick()
{
    if (listsReady())
        m_host.dialogs().datePicker->open(
            [this](const QString& answer) { DatePickerCallBack(answer); });
}

void HomeScreen::DatePickerCallBack(const QString& AselectedItem)
{
    if (AselectedItem.isEmpty())
        return; // cancelled
    startScan(JobBuilder::dateRangeFromAnswer(AselectedItem), nullptr);
}

void HomeScreen::startScan(const ScanRequest& request, QWidget* tile)
{
    if (tile)
        tile->setEnabled(false);
    // The scan runs once this tap has been handled, so the tile shows as
    // disabled while it runs; two scans never overlap, since each runs whole
    // on this thread.
    QMetaObject::invokeMethod(
        this,
        [this, request, tile] {
            runScan(request);
            if (tile)
                tile->setEnabled(true);
        },
        Qt::QueuedConnection);
}

namespace {

// How the job of a scan was made, as its queue row and history name it.
JobKind jobKindOf(const ScanRequest& request)
{
    switch (request.kind) {
    case ScanRequest::Kind::Today:
        return JobKind::of(JobKind::Type::Today);
    case ScanRequest::Kind::FiveDays:
        return JobKind::of(JobKind::Type::FiveDays);
    case ScanRequest::Kind::DateRange:
        break;
    }
    return JobKind::range(request.startdate, request.enddate);
}

} // namespace

void HomeScreen::runScan(const ScanRequest& request)
{
    m_host.setStatusLine(QString());
    const ScanResult result = m_host.jobBuilder().scan(request, m_host.appLists());
    m_host.startJob(result.entries, jobKindOf(request));
    // A folder that cannot be read (an unplugged card) or a file whose name
    // cannot be stored in a job does not cancel the others, but the user
    // learns that it was passed over: on the status line, and in a message,
    // since the job's first log line soon replaces the status line.
    const QString note = passedOverNote(result.passedOver, result.passedOverFiles);
    if (!note.isEmpty()) {
        m_host.setStatusLine(note);
        MessageBox::inform(window(), note);
    }
}

void HomeScreen::rectBackupManuallyClick()
{
    m_host.setNavMarker(0);
    m_host.openFileExplorer(sharedPicturesFolder());
}

void HomeScreen::rectSetupClick()
{
    m_host.setNavMarker(0);
    m_host.ChangeTab(screen::SettingsList);
    m_host.prepareSettings();
}

void HomeScreen::rectQueueClick()
{
    hideQueueMarker();
    m_host.setNavMarker(0);
    m_host.ChangeTab(screen::Queue);
}

} // namespace kyvane
