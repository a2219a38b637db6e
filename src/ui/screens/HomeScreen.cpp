#include "ui/screens/HomeScreen.h"

#include "core/AppLists.h"
#include "core/BackgroundTask.h"
#include "core/HandOverChannel.h"
#include "core/PicturesFolder.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "i18n/PassedOverNote.h"
#include "ui/Icons.h"
#include "ui/MessageBox.h"
#include "ui/ScreenHost.h"
#include "ui/ScreenIndex.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/TfrmDatePicker.h"
#include "ui/widgets/ClickableFrame.h"
#include "ui/widgets/NoteLabel.h"

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

HomeScreen::HomeScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), m_host(host), m_background(std::make_shared<HandOverChannel>(this))
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

    // Tab walks the page as it reads: the banner, then the tiles row by row.
    QWidget* previous = Rectangle3;
    for (QWidget* tile :
         std::initializer_list<QWidget*>{rectBackupToday, rectBackup5days, rectBackupByDate,
                                         rectBackupManually, rectSetup, rectQueue}) {
        setTabOrder(previous, tile);
        previous = tile;
    }

    connect(Rectangle3, &ClickableFrame::clicked, this, &HomeScreen::Rectangle3Click);
    connect(rectBackupToday, &ClickableFrame::clicked, this, &HomeScreen::rectBackupTodayClick);
    connect(rectBackup5days, &ClickableFrame::clicked, this, &HomeScreen::rectBackup5daysClick);
    connect(rectBackupByDate, &ClickableFrame::clicked, this, &HomeScreen::rectBackupByDateClick);
    connect(rectBackupManually, &ClickableFrame::clicked, this,
            &HomeScreen::rectBackupManuallyClick);
    connect(rectSetup, &ClickableFrame::clicked, this, &HomeScreen::rectSetupClick);
    connect(rectQueue, &ClickableFrame::clicked, this, &HomeScreen::rectQueueClick);
}

HomeScreen::~HomeScreen()
{
    // A scan or count still under way never reaches this screen again.
    m_background->close();
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

    // The passed-over note takes the empty row when there is one to show.
    lblPassedOver = new NoteLabel(ListBox7);
    lblPassedOver->setObjectName(QStringLiteral("lblPassedOver"));
    lblPassedOver->setFixedHeight(kTileRowHeight);
    lblPassedOver->hide();
    grid->addWidget(lblPassedOver, 3, 0, 1, 2);
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
    Rectangle3->setAccessibleName(lbTodayFileCount->text());
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
    // A tile is a button named by its label.
    const std::pair<ClickableFrame*, QLabel*> tiles[] = {
        {rectBackupToday, lbBackupToday},
        {rectBackup5days, lbBackup5Days},
        {rectBackupByDate, lbBackupByDate},
        {rectBackupManually, lbBackupManually},
        {rectSetup, lbSettings},
        {rectQueue, lbViewQueue},
    };
    for (const auto& [tile, label] : tiles)
        tile->setAccessibleName(label->text());
    Rectangle3->setAccessibleDescription(extraText(ExtraText::BannerCountsAgain));

    const std::pair<QPushButton*, int> buttons[] = {
        {btnBackupTODAY, 2},    {btnBackup5Days, 3}, {btnBackupFILESByDATE, 4},
        {btnBackupManually, 5}, {btnSettings, 6},    {btnViewQueue, 7},
    };
    for (const auto& [button, key] : buttons)
        button->setText(langText(key));

    showTodayFileCount();
    showPassedOver(m_passedOverFolders, m_passedOverFiles);
}

void HomeScreen::Rectangle3Click()
{
    recountTodayFiles();
}

void HomeScreen::recountTodayFiles()
{
    // The lists may have changed since the count under way began: one more
    // follows it.
    if (m_counting) {
        m_recountWanted = true;
        return;
    }
    m_counting = true;
    m_recountWanted = false;
    // The lists are copied: the settings screens may change them meanwhile.
    const JobBuilder builder = m_host.jobBuilder();
    const AppLists lists = m_host.appLists();
    runInBackground<TodayCount>(
        m_background, [builder, lists] { return builder.countToday(lists); },
        [this](TodayCount& counted) {
            m_counting = false;
            setTodayFileCount(counted.count);
            // A scan under way will tell its own.
            if (!m_scanning)
                showPassedOver(counted.passedOver, counted.passedOverFiles);
            if (m_recountWanted)
                recountTodayFiles();
        });
}

void HomeScreen::showPassedOver(const QStringList& folders, const QStringList& files)
{
    m_passedOverFolders = folders;
    m_passedOverFiles = files;
    lblPassedOver->setNote(passedOverNote(folders, files));
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
        startScan(ScanRequest{ScanRequest::Kind::Today, {}, {}});
}

void HomeScreen::rectBackup5daysClick()
{
    if (listsReady())
        startScan(ScanRequest{ScanRequest::Kind::FiveDays, {}, {}});
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
    startScan(JobBuilder::dateRangeFromAnswer(AselectedItem));
}

void HomeScreen::setScanTilesEnabled(bool enabled)
{
    for (QWidget* tile : {rectBackupToday, rectBackup5days, rectBackupByDate})
        tile->setEnabled(enabled);
}

void HomeScreen::startScan(const ScanRequest& request)
{
    // Two scans never overlap: the tiles that start one are disabled.
    if (m_scanning)
        return;
    m_scanning = true;
    setScanTilesEnabled(false);
    m_host.setStatusLine(QString());
    // The folders are read off this thread: a stale network mount or a
    // slow card holds up the scan, never the window.
    const JobBuilder builder = m_host.jobBuilder();
    const AppLists lists = m_host.appLists();
    runInBackground<ScanResult>(
        m_background, [builder, request, lists] { return builder.scan(request, lists); },
        [this, request](ScanResult& result) { scanEnded(request, result); });
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

void HomeScreen::scanEnded(const ScanRequest& request, const ScanResult& result)
{
    m_host.startJob(result.entries, jobKindOf(request));
    // A folder that cannot be read (an unplugged card) or a file whose name
    // cannot be stored in a job does not cancel the others, but the user
    // learns that it was passed over: on the status line, and in the note
    // under the tiles, which stays when the job's first log line replaces
    // the status line and blocks no tap.
    showPassedOver(result.passedOver, result.passedOverFiles);
    if (!lblPassedOver->text().isEmpty())
        m_host.setStatusLine(lblPassedOver->text());
    m_scanning = false;
    setScanTilesEnabled(true);
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
