#include "ui/MainWindow.h"

#include "core/ConfigIni.h"
#include "core/JobRecords.h"
#include "core/OutcomeStore.h"
#include "core/PicturesFolder.h"
#include "core/ProgramFolder.h"
#include "core/StopToken.h"
#include "core/StorableName.h"
#include "core/Version.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "i18n/PassedOverNote.h"
#include "transfer/JobEntry.h"
#include "transfer/JobFiles.h"
#include "transfer/JobHistory.h"
#include "transfer/JobName.h"
#include "transfer/ObserverChannel.h"
#include "transfer/RunningJobs.h"
#include "transfer/TFileGenius.h"
#include "ui/JobTexts.h"
#include "ui/MessageBox.h"
#include "ui/dialogs/TfrmChooseFolder.h"
#include "ui/dialogs/TfrmChooseLanguage.h"
#include "ui/dialogs/TfrmConfirm.h"
#include "ui/dialogs/TfrmDatePicker.h"
#include "ui/dialogs/TfrmInputExt.h"
#include "ui/screens/BackupFoldersScreen.h"
#include "ui/screens/ExplorerScreen.h"
#include "ui/Accessibility.h"
#include "ui/screens/FileExtensionsScreen.h"
#include "ui/screens/HomeScreen.h"
#include "ui/screens/JobDetailsScreen.h"
#include "ui/screens/QueueScreen.h"
#include "ui/screens/ServerEditorScreen.h"
#include "ui/screens/SettingsListScreen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

namespace kyvane {

namespace {
constexpr int kClientWidth = 358;
constexpr int kClientHeight = 570;
} // namespace

TForm1::TForm1(QWidget* parent, ScanClock clock)
    : QWidget(parent), m_channel(std::make_shared<ObserverChannel>(this)),
      m_builder(std::move(clock))
{
    setObjectName(QStringLiteral("Form1"));
    Accessibility::installTapButtons();
    // Sees the key releases of every control (Navigation.cpp).
    QCoreApplication::instance()->installEventFilter(this);
    buildFrame();
    FormCreate();
    createDialogs();
}

TForm1::~TForm1()
{
    // Workers that still run must not reach a window that is going.
    m_channel->close();
}

// The start-up of the program, in its fixed order. No step may stop the ones
// after it: every file read here falls back to a default when it is bad.
void TForm1::FormCreate()
{
    InitLanguageTable();

    setWindowTitle(windowCaption());
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // queueLock is a process-wide mutex that exists from the start.

    // The program entry has fixed it already and refused a folder it must
    // not use; this only repeats that answer.
    ProgramFolder::fix();

    setCurrentLanguage(languageCodeFromText(ReadIni(
        QStringLiteral("GENERALSETTINGS"), QStringLiteral("LANGUAGE"), QStringLiteral("0"))));

    m_explorer->setFolder(sharedPicturesFolder());

    m_lists.load();

    hookKeyboardNotifications();
    navMarker = 0;
    ChangeTab(Home);

    openOutcomeStore();

    // Workers of the jobs left unfinished; their rows appear once the event
    // loop runs. A job file that cannot be read is passed over.
    m_queue->startJobFiles(false);
    JobFiles::removeStaleJobLogs();

    // The home page counted today's files as it was switched to above, off
    // this thread, so the window shows at once even when a backup folder is
    // on a slow or stale mount.
}

void TForm1::recountTodayFiles()
{
    m_home->recountTodayFiles();
}

void TForm1::openOutcomeStore()
{
    const OutcomeStore::Opened opened = OutcomeStore::openForProgramFolder();
    QString notice;
    if (!opened.movedAsideTo.isEmpty())
        notice = extraText(ExtraText::StoreMovedAside).arg(opened.movedAsideTo);
    else if (!opened.error.isEmpty())
        notice = extraText(ExtraText::StoreUnavailable).arg(opened.error);
    if (!notice.isEmpty()) {
        // Never fatal: the program goes on, and says so once it is shown.
        setStatusLine(notice);
        QTimer::singleShot(0, this, [this, notice] { MessageBox::inform(this, notice); });
    }
    // Records of jobs whose files are gone (deleted while the program was
    // not running) go; finished jobs past the history's limits too.
    JobRecords records(opened.store);
    records.dropPendingExcept(JobFiles::pendingJobNames());
    JobHistory::prune(records, QDateTime::currentMSecsSinceEpoch());
}

void TForm1::createDialogs()
{
    // In the order of their creation at start-up.
    m_dialogs.inputExt = new TfrmInputExt(this);
    m_dialogs.chooseLanguage = new TfrmChooseLanguage(this);
    m_dialogs.chooseFolder = new TfrmChooseFolder(this);
    m_dialogs.confirm = new TfrmConfirm(this);
    m_dialogs.datePicker = new TfrmDatePicker(this);
}

void TForm1::FormShow()
{
    ApplyLanguage();
    m_home->showTodayFileCount();
}

bool TForm1::FormCloseQuery()
{
    return MessageBox::askYesNo(this, langText(34));
}

void TForm1::FormClose()
{
    StopTokens::stopAll();
    m_lists.servers.clear();
    // From here no worker waits for this window, so waiting for them cannot
    // deadlock. Each finishes its chunk and writes its job log; one stuck on
    // the network is left behind after a short while, and its job resumes at
    // the next start.
    m_channel->close();
    RunningJobs::waitForNone(QDeadlineTimer(kCloseWaitMs));
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::showEvent(QShowEvent* event)
{
    // The window system's own show events come after the window is up and
    // would apply the texts a second time.
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void TForm1::hideQueueMarker()
{
    m_home->hideQueueMarker();
}

void TForm1::openFileExplorer(const QString& folder)
{
    m_explorer->setFolder(folder);
    ChangeTab(FileExplorer);
}

void TForm1::openJobDetails(const QString& jobName, qint64 jobId)
{
    QString error;
    if (!m_jobLog->showJob(jobName, jobId, &error)) {
        MessageBox::inform(this, error);
        return;
    }
    m_detailsReturn = currentTabIndex() == History ? History : Queue;
    ChangeTab(JobLog);
}

void TForm1::prepareSettings()
{
    m_settingsList->prepareSettings();
    // A line of a server that is gone tells of nothing the user can act on.
    m_statusLine.serversChanged(m_lists.servers);
    showStatusBar();
}

void TForm1::openServerEditor(int tag)
{
    if (m_serverEditor->open(tag))
        ChangeTab(ServerEditor);
}

void TForm1::PrepareFolderList()
{
    m_backupFolders->PrepareFolderList();
}

void TForm1::PrepareExtList()
{
    m_fileExtensions->PrepareExtList();
}

bool TForm1::startJob(const QStringList& allEntries, const JobKind& kind)
{
    // A job file keeps one entry per line: a path with a line break would be
    // read back as broken entries, and its job could never finish. The scans
    // and the explorer pass such files over already; whatever else hands one
    // in, it is left out here too, and the user learns which.
    QStringList entries;
    QStringList leftOut;
    for (const QString& entry : allEntries) {
        const QString path = JobEntry::split(entry).path;
        if (StorableName::isStorable(path))
            entries.append(entry);
        else if (const QString shown = StorableName::printable(path); !leftOut.contains(shown))
            leftOut.append(shown);
    }
    if (!leftOut.isEmpty()) {
        const QString note = passedOverFilesNote(leftOut);
        setStatusLine(note);
        MessageBox::inform(this, note);
    }
    if (entries.isEmpty())
        return false;
    // Never the name of a job file still pending or of a running job: its
    // file would be replaced and its files never backed up.
    const QString name = freeJobName(m_builder.now());
    if (name.isEmpty()) {
        MessageBox::inform(this, extraText(ExtraText::NoFreeJobName));
        return false;
    }
    if (const QString error = JobFiles::writeJob(name, entries); !error.isEmpty()) {
        MessageBox::inform(this, error);
        return false;
    }
    JobRecords(OutcomeStore::shared())
        .addJob(name, kind,
                std::chrono::duration_cast<std::chrono::milliseconds>(
                    m_builder.now().time_since_epoch())
                    .count());
    TFileGenius::Create(entries, name, m_channel, m_engineSettings);
    return true;
}

void TForm1::setBackEnabled(bool enabled)
{
    SpeedButton1->setEnabled(enabled);
}

void TForm1::setStatusLine(const QString& line)
{
    m_statusLine.show(line);
    showStatusBar();
}

void TForm1::showStatusBar()
{
    Label4->setText(m_statusLine.text());
    imgFailureMark->setVisible(m_statusLine.failurePending());
    const QString mark = extraText(ExtraText::FailureNotSeen);
    imgFailureMark->setToolTip(mark);
    imgFailureMark->setAccessibleName(mark);
}

QObject* TForm1::context()
{
    return this;
}

void TForm1::AddToDoList(const QString& tname, const QStringList& files, const QString& currentfile)
{
    m_home->showQueueMarker();
    m_queue->AddToDoList(tname, files, currentfile);
}

void TForm1::SetToDoListProgressbar(const QString& target, int value, int value2, int value3,
                                    const QString& currentfile, const QString& server)
{
    m_queue->SetToDoListProgressbar(target, value, value2, value3, currentfile, server);
}

void TForm1::ShowStatusLine(const QString& line)
{
    setStatusLine(line);
}

void TForm1::JobEnded(const QString& tname, const OutcomeCounts& run)
{
    m_queue->JobEnded(tname, run);
    // The details of the job on screen now show how its run ended.
    if (currentTabIndex() == JobLog && m_jobLog->jobName() == tname)
        m_jobLog->refresh();
    m_explorer->refreshBackupRecord();
}

} // namespace kyvane
