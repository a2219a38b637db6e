#include "ui/screens/QueueScreen.h"

#include "core/JobRecords.h"
#include "core/Logging.h"
#include "core/OutcomeStore.h"
#include "core/SharedState.h"
#include "core/StopToken.h"
#include "i18n/ExtraTexts.h"
#include "transfer/JobFiles.h"
#include "transfer/JobStarter.h"
#include "transfer/RunningJobs.h"
#include "transfer/ServerLabels.h"
#include "ui/JobTexts.h"
#include "ui/MessageBox.h"
#include "ui/QueueRowRules.h"
#include "ui/ScreenHost.h"
#include "ui/widgets/EmptyListHint.h"
#include "ui/widgets/QueueList.h"
#include "ui/widgets/QueueRow.h"

#include <QFile>
#include <QLabel>
#include <QMutexLocker>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kyvane {

QueueScreen::QueueScreen(ScreenHost& host, QWidget* parent) : QWidget(parent), m_host(host)
{
    ListBox2 = new QueueList(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    lblQueueEmpty = new EmptyListHint(ListBox2, [this] { return ListBox2->count() == 0; });
    lblQueueEmpty->setObjectName(QStringLiteral("lblQueueEmpty"));
    connect(ListBox2, &QueueList::countChanged, lblQueueEmpty, &EmptyListHint::refresh);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(ListBox2);
    connect(ListBox2, &QueueList::rowClicked, this, &QueueScreen::ListBox2ItemClick);
}

void QueueScreen::AddToDoList(const QString& tname, const QStringList& files,
                              const QString& currentfile)
{
    QMutexLocker lock(&queueLock);
    if (files.isEmpty()) {
        // Without a first entry there is no server to show; the job runs
        // without a row.
        qCWarning(lcUi) << "no queue row for job" << tname << "without entries";
        return;
    }
    // A job has one row: a worker that runs the job again replaces the row
    // its earlier worker left.
    if (QueueRow* earlier = ListBox2->findRow(QueueRowRules::rowName(tname)))
        ListBox2->removeRow(earlier);
    auto* row = new QueueRow(tname, static_cast<int>(files.size()));
    // Where the job goes to two servers at one address, the row names the
    // port and account too.
    row->setText(QueueRowRules::rowText(ServerLabels(files).label(JobEntry::split(files.first())),
                                        currentfile));
    row->setFinishedMark(QueueRowRules::kRunning);
    m_runEnds.remove(tname);
    showTitle(row, tname, true);
    ListBox2->appendRow(row);
}

void QueueScreen::showTitle(QueueRow* row, const QString& jobName, bool newRun)
{
    // A new run's row finds its job pending; a row shown anew (another
    // language) keeps the job it had, which may have finished since.
    const JobRecords records(OutcomeStore::shared());
    const qint64 known = m_jobIds.value(jobName);
    const auto job = newRun || !known ? records.pending(jobName) : records.job(known);
    if (job)
        m_jobIds.insert(jobName, job->id);
    else
        m_jobIds.remove(jobName);
    row->setTitle(job ? JobTexts::jobTitle(*job, QDateTime::currentDateTime())
                      : JobTexts::untrackedJobTitle(jobName));
}

void QueueScreen::showRunState(QueueRow* row, const QString& jobName)
{
    const auto end = m_runEnds.constFind(jobName);
    if (end == m_runEnds.constEnd())
        return; // its worker has not ended yet
    const OutcomeCounts& counts = end->counts;
    // The finishing report has removed the job file: every entry settled.
    const bool finished = row->finishedMark() == QueueRowRules::kFinished;
    const auto state = counts.problems() > 0 ? QueueRow::RunState::Failed
                       : finished            ? QueueRow::RunState::Finished
                                             : QueueRow::RunState::Stopped;
    QString text;
    if (finished) {
        const qint64 id = m_jobIds.value(jobName);
        const auto job = id ? JobRecords(OutcomeStore::shared()).job(id) : std::nullopt;
        const qint64 at = job && job->finishedMs ? *job->finishedMs : end->atMs;
        // A finished job may still have files that were gone: it says so.
        text = extraText(ExtraText::RowFinished)
                   .arg(JobTexts::momentText(QDateTime::fromMSecsSinceEpoch(at),
                                             QDateTime::currentDateTime()));
        if (counts.problems() > 0)
            text += QStringLiteral(" · ") + JobTexts::problemsText(counts);
    } else if (state == QueueRow::RunState::Failed) {
        text = JobTexts::problemsText(counts);
    } else {
        text = extraText(ExtraText::RowStopped);
    }
    row->setRunState(state, text);
}

void QueueScreen::applyLanguage()
{
    lblQueueEmpty->setHint(extraText(ExtraText::QueueEmptyHint));
    for (QueueRow* row : ListBox2->rows()) {
        const QString jobName = QueueRowRules::jobNameFromRowName(row->tagString());
        showTitle(row, jobName, false);
        if (row->runState() != QueueRow::RunState::Running)
            showRunState(row, jobName);
    }
}

void QueueScreen::SetToDoListProgressbar(const QString& target, int value, int value2, int value3,
                                         const QString& currentfile, const QString& server)
{
    // Runs after every chunk a worker sends: look-ups and property changes
    // only, no file access unless the job has just finished. Each part is
    // looked up on its own; a part that is gone is skipped.
    QMutexLocker lock(&queueLock);
    QueueRow* row = ListBox2->findRow(QueueRowRules::rowName(target));
    if (!row)
        return; // a job without a row, or a row taken out by Delete

    if (auto* fileCountBar = row->findChild<QProgressBar*>(QueueRowRules::fileCountBarName(target)))
        fileCountBar->setValue(value2);
    if (auto* entryBar = row->findChild<QProgressBar*>(QueueRowRules::entryBarName(target)))
        entryBar->setValue(value);

    row->setText(QueueRowRules::rowText(server, currentfile));
    if (QueueRowRules::finishesJob(value, value2, value3)) {
        row->setFinishedMark(QueueRowRules::kFinished);
        const QString jobName = QueueRowRules::jobNameFromRowName(row->objectName());
        if (!QueueRowRules::removeJobFile(jobName)) {
            // The job file stays and the job resumes at the next start; the
            // count keeps its previous text.
            qCWarning(lcUi) << "cannot delete the job file of finished job" << jobName;
            return;
        }
    }

    if (auto* countLabel = row->findChild<QLabel*>(QueueRowRules::countLabelName(target)))
        countLabel->setText(QueueRowRules::countText(value2, value3));
}

void QueueScreen::startJobFiles(bool reportUnreadable)
{
    const JobStartReport report =
        startPendingJobs(m_host.observerChannel(), m_host.engineSettings());
    for (const QString& name : report.alreadyRunning)
        m_restartWhenEnded.insert(name);
    for (const QString& problem : report.unreadable)
        qCWarning(lcUi) << "job file cannot be read:" << problem;
    if (reportUnreadable && !report.unreadable.isEmpty())
        MessageBox::inform(window(), QStringLiteral("These job files cannot be read:\n") +
                                         report.unreadable.join(QLatin1Char('\n')));
}

void QueueScreen::btnStartClick()
{
    // A job that is still running keeps its row and its worker; every other
    // row goes, and its job starts again from its file.
    for (QueueRow* row : ListBox2->rows()) {
        if (!RunningJobs::isRunning(QueueRowRules::jobNameFromRowName(row->tagString())))
            ListBox2->removeRow(row);
    }
    startJobFiles(true);
}

void QueueScreen::JobEnded(const QString& tname, const OutcomeCounts& run)
{
    m_runEnds.insert(tname, {run, QDateTime::currentMSecsSinceEpoch()});
    if (QueueRow* row = ListBox2->findRow(QueueRowRules::rowName(tname)))
        showRunState(row, tname);
    if (!m_restartWhenEnded.remove(tname) || !QFile::exists(JobFiles::jobFilePath(tname)))
        return; // not asked for, or finished meanwhile
    QString error;
    if (startJobFile(tname, m_host.observerChannel(), m_host.engineSettings(), &error) ==
        JobStart::Unreadable)
        qCWarning(lcUi) << "job file cannot be read:" << tname << error;
}

void QueueScreen::retryJob(const QString& jobName)
{
    QString error;
    const JobStart started =
        startJobFile(jobName, m_host.observerChannel(), m_host.engineSettings(), &error);
    if (started == JobStart::Unreadable)
        MessageBox::inform(window(), error);
}

void QueueScreen::btnStopClick()
{
    StopTokens::stopAll();
    // A job that Start marked to run again once its worker ends stays
    // stopped: Stop comes after that Start.
    m_restartWhenEnded.clear();
}

void QueueScreen::btnDeleteClick()
{
    const QList<QueueRow*> rows = ListBox2->rows();
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        QueueRow* row = *it;
        if (!row->isChecked())
            continue;
        if (row->finishedMark() != QueueRowRules::kFinished)
            StopTokens::stopAll(); // there is no stop for one job alone
        const QString jobName = QueueRowRules::jobNameFromRowName(row->tagString());
        m_restartWhenEnded.remove(jobName);
        ListBox2->removeRow(row);
        const QString jobFile = JobFiles::jobFilePath(jobName);
        if (QFile::exists(jobFile) && !QFile::remove(jobFile)) {
            qCWarning(lcUi) << "cannot delete job file" << jobFile;
            continue; // its log stays with it
        }
        // A finished job stays in the history; a pending one is gone.
        JobRecords(OutcomeStore::shared()).dropPending(jobName);
        m_jobIds.remove(jobName);
        m_runEnds.remove(jobName);
        const QString jobLog = JobFiles::jobLogPath(jobName);
        if (QFile::exists(jobLog) && !QFile::remove(jobLog))
            qCWarning(lcUi) << "cannot delete job log" << jobLog;
    }
}

void QueueScreen::btnSelectAllClick()
{
    for (QueueRow* row : ListBox2->rows())
        row->setChecked(true);
}

void QueueScreen::btnSelectNoneClick()
{
    for (QueueRow* row : ListBox2->rows())
        row->setChecked(false);
}

void QueueScreen::ListBox2ItemClick(QueueRow* row)
{
    const QString jobName = QueueRowRules::jobNameFromRowName(row->tagString());
    m_host.openJobDetails(jobName, m_jobIds.value(jobName));
}

} // namespace kyvane
