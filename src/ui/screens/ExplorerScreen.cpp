#include "ui/screens/ExplorerScreen.h"

#include "core/AppLists.h"
#include "core/HandOverChannel.h"
#include "core/OutcomeStore.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "i18n/PassedOverNote.h"
#include "selection/FileSizeText.h"
#include "selection/JobBuilder.h"
#include "transfer/ServerLabels.h"
#include "ui/ExplorerThumbnails.h"
#include "ui/Icons.h"
#include "ui/MessageBox.h"
#include "ui/ScreenHost.h"
#include "ui/Thumbnail.h"
#include "ui/widgets/ExplorerListModel.h"
#include "ui/widgets/ExplorerListView.h"
#include "ui/widgets/ExplorerRowDelegate.h"
#include "ui/widgets/NoteLabel.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kyvane {

namespace {
constexpr QSize kIconBox(48, 48);
} // namespace

ExplorerScreen::ExplorerScreen(ScreenHost& host, std::atomic<bool>& cancelListing, QWidget* parent)
    : QWidget(parent), m_host(host), m_cancelListing(cancelListing)
{
    Button13 = new QToolButton(this);
    Button13->setObjectName(QStringLiteral("Button13"));
    Button13->setIcon(Icons::icon(QStringLiteral("back-dark")));
    Button13->setIconSize(QSize(24, 24));
    Button13->setFixedSize(40, 40);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumHeight(34);
    Edit1->installEventFilter(this);
    Button4 = new QToolButton(this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setText(QStringLiteral(">"));
    Button4->setFixedSize(40, 40);

    auto* pathBar = new QHBoxLayout;
    pathBar->setContentsMargins(4, 4, 4, 4);
    pathBar->setSpacing(4);
    pathBar->addWidget(Button13);
    pathBar->addWidget(Edit1, 1);
    pathBar->addWidget(Button4);

    m_model = new ExplorerListModel(this);
    ListView1 = new ExplorerListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(m_model);
    ListView1->setItemDelegate(new ExplorerRowDelegate(ListView1));
    // Every row is 52 high: the view need not ask each of a big folder's
    // rows for its size.
    ListView1->setUniformItemSizes(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->setIconSize(kIconBox);

    lblWait = new QLabel(QStringLiteral("Wait for a moment"), this);
    lblWait->setObjectName(QStringLiteral("lblWait"));
    lblWait->setAlignment(Qt::AlignCenter);
    lblWait->hide();
    lblCannotList = new QLabel(this);
    lblCannotList->setObjectName(QStringLiteral("lblCannotList"));
    lblCannotList->setAlignment(Qt::AlignCenter);
    lblCannotList->setWordWrap(true);
    lblCannotList->hide();

    // Names passed over: the listing's, or the backup's; it stays until the
    // next listing, as the status line's text would not.
    lblPassedOverNames = new NoteLabel(this);
    lblPassedOverNames->setObjectName(QStringLiteral("lblPassedOverNames"));
    lblPassedOverNames->setFixedHeight(64);
    lblPassedOverNames->hide();

    lblBackupRecord = new QLabel(this);
    lblBackupRecord->setObjectName(QStringLiteral("lblBackupRecord"));
    lblBackupRecord->setTextFormat(Qt::PlainText);
    lblBackupRecord->setWordWrap(true);
    lblBackupRecord->hide();

    auto* listArea = new QGridLayout;
    listArea->setContentsMargins(0, 0, 0, 0);
    listArea->addWidget(ListView1, 0, 0);
    listArea->addWidget(lblWait, 0, 0, Qt::AlignCenter);
    listArea->addWidget(lblCannotList, 0, 0, Qt::AlignHCenter | Qt::AlignTop);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(pathBar);
    column->addLayout(listArea, 1);
    column->addWidget(lblPassedOverNames);
    column->addWidget(lblBackupRecord);

    m_thumbnails =
        new ExplorerThumbnails(*ListView1, *m_model, host.engineSettings().pictures, this);

    connect(Button13, &QToolButton::clicked, this, &ExplorerScreen::Button13Click);
    connect(Button4, &QToolButton::clicked, this, &ExplorerScreen::Button4Click);
    connect(ListView1, &QListView::clicked, this, &ExplorerScreen::ListView1ItemClick);
    connect(ListView1, &QListView::doubleClicked, this, &ExplorerScreen::ListView1DblClick);
}

ExplorerScreen::~ExplorerScreen()
{
    // A listing still under way never reaches this screen again.
    if (m_listing)
        m_listing->close();
}

QString ExplorerScreen::folder() const
{
    return Edit1->text();
}

void ExplorerScreen::setFolder(const QString& folder)
{
    Edit1->setText(folder);
}

void ExplorerScreen::TotalWork(const QString& path_tr)
{
    Edit1->setText(path_tr);
    m_listingFolder = folderWithSeparator(path_tr);
    m_cancelListing = false;
    // The older listing adds no further row, so two folders never mix.
    if (m_listing)
        m_listing->close();
    m_listing = std::make_shared<HandOverChannel>(this);
    FolderListingThread::start(m_listingFolder, m_listing, this);
    m_cancelListing = false;
}

void ExplorerScreen::listingPrepared()
{
    m_host.setBackEnabled(false);
    Button13->setEnabled(false);
    Button4->setEnabled(false);
    m_model->clearRows(m_listingFolder);
    // Thumbnails still being made belong to the rows just removed.
    m_thumbnails->rowsCleared();
    ListView1->setEnabled(false);
    lblCannotList->hide();
    lblPassedOverNames->setNote(QString());
    lblBackupRecord->hide();
    lblWait->show();
}

void ExplorerScreen::addFolderRows(const QStringList& fullPaths, qsizetype filesToCome)
{
    m_model->appendFolders(fullPaths, filesToCome);
}

bool ExplorerScreen::addFileRows(std::vector<ListedFile>& files)
{
    return m_model->appendFiles(files, m_cancelListing);
}

void ExplorerScreen::listingFinished(bool readable, const QStringList& passedOver)
{
    lblWait->hide();
    ListView1->setEnabled(true);
    Button13->setEnabled(true);
    Button4->setEnabled(true);
    m_host.setBackEnabled(true);
    if (!readable) {
        lblCannotList->setText(extraText(ExtraText::FolderCannotBeListed));
        lblCannotList->show();
    }
    // Files the user cannot see in the list and could not back up.
    if (!passedOver.isEmpty()) {
        lblPassedOverNames->setNote(passedOverFilesNote(passedOver));
        m_host.setStatusLine(lblPassedOverNames->text());
    }
    m_listing.reset();
}

void ExplorerScreen::ListView1ItemClick(const QModelIndex& index)
{
    m_cancelListing = true;
    if (!index.isValid())
        return;
    const int row = index.row();
    if (m_model->rows().at(row).kind == ExplorerRow::Kind::Folder) {
        const QString path = m_model->rows().detailLine(row);
        if (QFileInfo(path).isDir())
            TotalWork(path);
        return;
    }
    showFileDetails(row);
}

void ExplorerScreen::showFileDetails(int row)
{
    // Built from the path field, as the user sees it: after an edit without
    // Go this names another file, and the click then fails quietly.
    const QString name = m_model->rows().nameLine(row);
    const QString path = folderWithSeparator(Edit1->text()) + name;
    const QFileInfo info(path);
    const QDateTime modified = info.lastModified();
    const qint64 size = modified.isValid() ? FileSizeOf(path) : -1;
    if (size < 0) {
        m_thumbnails->fileGone(row);
        return;
    }
    m_model->setFileDetails(row, modified.toMSecsSinceEpoch(), size);
    showBackupRecord(path);
    // Made off this thread: a picture may take long to decode, or be refused
    // only after its header has been read.
    if (isPictureFile(name))
        m_thumbnails->clicked(row, path);
}

bool ExplorerScreen::isMakingThumbnails() const
{
    return m_thumbnails->isBusy();
}

void ExplorerScreen::refreshBackupRecord()
{
    if (lblBackupRecord->isVisibleTo(this))
        showBackupRecord(m_recordPath);
}

void ExplorerScreen::showBackupRecord(const QString& path)
{
    m_recordPath = path;
    const auto store = OutcomeStore::shared();
    if (!store) {
        lblBackupRecord->hide(); // nothing known either way
        return;
    }
    const auto confirmation = store->lastConfirmation(path);
    if (!confirmation) {
        lblBackupRecord->setText(extraText(ExtraText::NotBackedUp));
    } else {
        // Named as the settings list names servers, with port and account
        // where two share an address.
        const QString server = ServerLabels(m_host.appLists().servers).label(confirmation->server);
        const QString when = QDateTime::fromMSecsSinceEpoch(confirmation->atMs)
                                 .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
        lblBackupRecord->setText(extraText(ExtraText::LastBackedUp).arg(server, when));
    }
    lblBackupRecord->show();
}

void ExplorerScreen::ListView1DblClick()
{
    const QModelIndexList selected = ListView1->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const QString path = m_model->rows().tagString(selected.first().row());
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void ExplorerScreen::Button13Click()
{
    m_cancelListing = true;
    BackKey();
}

void ExplorerScreen::Button4Click()
{
    m_cancelListing = true;
    TotalWork(Edit1->text());
}

void ExplorerScreen::BackKey()
{
    // Linux has no drive letters, so there is no drive list to go up to:
    // the parent of "/" is "/".
    TotalWork(parentFolder(Edit1->text()));
}

void ExplorerScreen::Edit1Enter()
{
    // After the click that gave the focus has placed the caret.
    QTimer::singleShot(0, Edit1, [edit = Edit1] { edit->end(false); });
}

bool ExplorerScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::FocusIn)
        Edit1Enter();
    return QWidget::eventFilter(watched, event);
}

void ExplorerScreen::btnSelectAll2Click()
{
    // The files the scans would take; notes and trashed copies only by hand.
    m_model->checkMedia(JobBuilder::targetExt(m_host.appLists().extensions));
}

void ExplorerScreen::btnSelectNone2Click()
{
    m_model->setAllChecked(false);
}

void ExplorerScreen::btnBackupClick()
{
    const QStringList& servers = m_host.appLists().servers;
    if (servers.isEmpty()) {
        MessageBox::inform(this, langText(42));
        return;
    }
    m_host.setStatusLine(QString());
    QStringList passedOver;
    const QStringList entries = m_model->rows().checkedFileEntries(servers, &passedOver);
    if (entries.isEmpty() && passedOver.isEmpty()) {
        MessageBox::inform(this, extraText(ExtraText::NothingTicked));
        return;
    }
    m_model->uncheckFiles();
    if (!entries.isEmpty())
        m_host.startJob(entries, JobKind::of(JobKind::Type::Manual));
    if (!passedOver.isEmpty()) {
        lblPassedOverNames->setNote(passedOverFilesNote(passedOver));
        m_host.setStatusLine(lblPassedOverNames->text());
    }
}

} // namespace kyvane
