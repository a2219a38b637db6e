#include "ui/screens/JobDetailsScreen.h"

#include "core/JobRecords.h"
#include "core/OutcomeStore.h"
#include "core/StorableName.h"
#include "i18n/ExtraTexts.h"
#include "transfer/JobFiles.h"
#include "transfer/JobHistory.h"
#include "transfer/RunningJobs.h"
#include "transfer/ServerLabels.h"
#include "ui/JobTexts.h"
#include "ui/widgets/OutcomeListView.h"

#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStringDecoder>
#include <QTextBlock>
#include <QVBoxLayout>

namespace kyvane {

namespace {

OutcomeListView::Tone toneOf(Outcome outcome)
{
    if (isConfirmation(outcome))
        return OutcomeListView::Tone::Done;
    return outcome == Outcome::Waiting ? OutcomeListView::Tone::Waiting
                                       : OutcomeListView::Tone::Problem;
}

QPushButton* viewButton(QWidget* parent, const QString& name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setProperty("kyvaneRole", QStringLiteral("viewSwitch"));
    return button;
}

} // namespace

JobDetailsScreen::JobDetailsScreen(QWidget* parent) : QWidget(parent)
{
    lblJobTitle = new QLabel(this);
    lblJobTitle->setObjectName(QStringLiteral("lblJobTitle"));
    lblJobTitle->setTextFormat(Qt::PlainText);
    lblJobTitle->setWordWrap(true);
    lblJobCounts = new QLabel(this);
    lblJobCounts->setObjectName(QStringLiteral("lblJobCounts"));
    lblJobCounts->setTextFormat(Qt::PlainText);
    lblJobCounts->setWordWrap(true);

    btnShowFiles = viewButton(this, QStringLiteral("btnShowFiles"));
    btnShowLog = viewButton(this, QStringLiteral("btnShowLog"));
    auto* views = new QButtonGroup(this);
    views->addButton(btnShowFiles);
    views->addButton(btnShowLog);
    views->setExclusive(true);
    auto* switches = new QHBoxLayout;
    switches->setContentsMargins(8, 0, 8, 0);
    switches->setSpacing(0);
    switches->addWidget(btnShowFiles);
    switches->addWidget(btnShowLog);

    lvJobFiles = new OutcomeListView(this);
    lvJobFiles->setObjectName(QStringLiteral("lvJobFiles"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("jobDetailsPages"));
    m_pages->addWidget(lvJobFiles);
    m_pages->addWidget(Memo1);

    btnRetry = new QPushButton(this);
    btnRetry->setObjectName(QStringLiteral("btnRetry"));
    btnRetry->setFocusPolicy(Qt::NoFocus);

    auto* heading = new QVBoxLayout;
    heading->setContentsMargins(10, 8, 10, 6);
    heading->setSpacing(2);
    heading->addWidget(lblJobTitle);
    heading->addWidget(lblJobCounts);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addLayout(heading);
    column->addLayout(switches);
    column->addWidget(m_pages, 1);
    column->addWidget(btnRetry, 0, Qt::AlignHCenter);
    column->addSpacing(6);

    connect(btnShowFiles, &QPushButton::clicked, this, &JobDetailsScreen::showFiles);
    connect(btnShowLog, &QPushButton::clicked, this, &JobDetailsScreen::showLogView);
    connect(btnRetry, &QPushButton::clicked, this, [this] { emit retryRequested(m_jobName); });
    applyLanguage();
    clear();
}

void JobDetailsScreen::applyLanguage()
{
    btnShowFiles->setText(extraText(ExtraText::ShowFiles));
    btnShowLog->setText(extraText(ExtraText::ShowLog));
    btnRetry->setText(extraText(ExtraText::Retry));
}

bool JobDetailsScreen::showJob(QString jobName, qint64 jobId, QString* error)
{
    clear();
    JobRecords records(OutcomeStore::shared());
    const std::optional<JobRecord> job = jobId ? records.job(jobId) : records.pending(jobName);
    m_jobName = job ? job->name : jobName;
    m_jobId = job ? job->id : 0;
    m_finished = job && job->finishedMs;

    const QDateTime now = QDateTime::currentDateTime();
    if (job) {
        lblJobTitle->setText(JobTexts::jobTitle(*job, now));
        lblJobCounts->setText(JobTexts::countsText(job->counts));
        const QList<EntryRecord> entries = records.entries(job->id);
        QList<ServerKey> servers;
        for (const EntryRecord& entry : entries)
            servers.append(entry.file.server);
        const ServerLabels labels(servers);
        for (const EntryRecord& entry : entries) {
            QString detail = labels.label(entry.file.server) + QStringLiteral(" · ") +
                             JobTexts::outcomeText(entry.outcome);
            // "not found" says all its reason would; the reason is kept in
            // the language of its run and would be half another language
            // after a switch.
            if (!entry.reason.isEmpty() && entry.outcome != Outcome::NotFound)
                detail += QStringLiteral(": ") + entry.reason;
            lvJobFiles->addRow(StorableName::printable(QFileInfo(entry.file.path).fileName()),
                               detail, toneOf(entry.outcome), entry.entry);
        }
    } else {
        lblJobTitle->setText(m_jobName);
    }
    // Retry starts a job whose file is still there and that no worker runs.
    btnRetry->setVisible(!m_finished && QFile::exists(JobFiles::jobFilePath(m_jobName)) &&
                         !RunningJobs::isRunning(m_jobName));

    // A finished job's log went to the history (none when it could not be
    // moved); a pending job's lies beside its job file.
    const QString log = !m_finished              ? JobFiles::jobLogPath(m_jobName)
                        : job->logFile.isEmpty() ? QString()
                                                 : JobHistory::logPath(job->logFile);
    if (!log.isEmpty() && !loadLog(log, error))
        return false;
    if (lvJobFiles->rowCount() > 0)
        showFiles();
    else
        showLogView();
    return true;
}

void JobDetailsScreen::refresh()
{
    if (m_jobName.isEmpty() && m_jobId == 0)
        return;
    const bool onLog = m_pages->currentWidget() == Memo1;
    QString error;
    showJob(m_jobName, m_jobId, &error);
    if (onLog)
        showLogView();
}

bool JobDetailsScreen::loadLog(const QString& path, QString* error)
{
    QFile log(path);
    if (!log.exists())
        return true;
    if (!log.open(QIODevice::ReadOnly)) {
        *error = log.errorString();
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(log.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Memo1->setPlainText(text);
    return true;
}

void JobDetailsScreen::clear()
{
    Memo1->clear();
    lvJobFiles->clearRows();
    lblJobTitle->clear();
    lblJobCounts->clear();
    btnRetry->hide();
    m_jobName.clear();
    m_jobId = 0;
    m_finished = false;
}

void JobDetailsScreen::showFiles()
{
    btnShowFiles->setChecked(true);
    m_pages->setCurrentWidget(lvJobFiles);
}

void JobDetailsScreen::showLogView()
{
    btnShowLog->setChecked(true);
    m_pages->setCurrentWidget(Memo1);
    scrollToFirstFailure();
}

void JobDetailsScreen::scrollToFirstFailure()
{
    // A long run is mostly "existed" and "Backup OK" lines; what needs the
    // user is the first failure, so the log opens there.
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(QLatin1String("][FAIL] "))) {
            QTextCursor cursor(block);
            Memo1->setTextCursor(cursor);
            // The scroll bar counts lines as laid out, wrapped ones too.
            Memo1->verticalScrollBar()->setValue(block.firstLineNumber());
            return;
        }
    }
    Memo1->moveCursor(QTextCursor::Start);
}

} // namespace kyvane
