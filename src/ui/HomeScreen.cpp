// The home page: the today banner and the tile grid, and the tiles that lead
// to other screens.

#include "i18n/LanguageRes.h"
#include "ui/ClickableFrame.h"
#include "ui/Icons.h"
#include "ui/MainWindow.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace kyvane {

namespace {

constexpr int kTileRowHeight = 80;
constexpr int kTileIconSize = 32;

} // namespace

void TForm1::buildHomePage(QWidget* page)
{
    Rectangle3 = new ClickableFrame(page);
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

    ListBox7 = new QWidget(page);
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

    // The fourth row: two cells that start-up shows as empty space.
    ListBoxItem7 = new QWidget(ListBox7);
    ListBoxItem7->setObjectName(QStringLiteral("ListBoxItem7"));
    ListBoxItem8 = new QWidget(ListBox7);
    ListBoxItem8->setObjectName(QStringLiteral("ListBoxItem8"));
    for (QWidget* item : {ListBoxItem7, ListBoxItem8}) {
        item->setFixedHeight(kTileRowHeight);
        item->hide();
    }
    grid->addWidget(ListBoxItem7, 3, 0);
    grid->addWidget(ListBoxItem8, 3, 1);

    // Buttons that only carry the tile texts and are never shown.
    QPushButton** hiddenButtons[] = {&btnBackupTODAY,    &btnBackup5Days, &btnBackupFILESByDATE,
                                     &btnBackupManually, &btnSettings,    &btnViewQueue};
    const char* hiddenNames[] = {"btnBackupTODAY",    "btnBackup5Days", "btnBackupFILESByDATE",
                                 "btnBackupManually", "btnSettings",    "btnViewQueue"};
    for (int i = 0; i < 6; ++i) {
        *hiddenButtons[i] = new QPushButton(page);
        (*hiddenButtons[i])->setObjectName(QString::fromLatin1(hiddenNames[i]));
        (*hiddenButtons[i])->hide();
    }

    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 10, 8, 8);
    column->setSpacing(10);
    column->addWidget(Rectangle3);
    column->addWidget(ListBox7);
    column->addStretch(1);

    // The scan tiles and the banner's recount come with the job builder.
    connect(rectBackupManually, &ClickableFrame::clicked, this, &TForm1::rectBackupManuallyClick);
    connect(rectSetup, &ClickableFrame::clicked, this, &TForm1::rectSetupClick);
    connect(rectQueue, &ClickableFrame::clicked, this, &TForm1::rectQueueClick);
}

void TForm1::showTodayFileCount()
{
    lbTodayFileCount->setText(langText(1) + QStringLiteral(": ") +
                              QString::number(m_todayFileCount));
}

QString TForm1::sharedPicturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QDir(pictures).exists())
        return pictures;
    return QDir::homePath();
}

void TForm1::rectBackupManuallyClick()
{
    navMarker = 0;
    Edit1->setText(sharedPicturesFolder());
    ChangeTab(FileExplorer);
}

void TForm1::rectSetupClick()
{
    navMarker = 0;
    ChangeTab(SettingsList);
    // The settings list rebuilds its rows here once the settings screens are
    // built.
}

void TForm1::rectQueueClick()
{
    imgRedSpot->hide();
    navMarker = 0;
    ChangeTab(Queue);
}

} // namespace kyvane
