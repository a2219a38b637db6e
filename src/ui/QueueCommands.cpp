// The Queue screen's commands (Start, Stop, Delete, Select All, Select None)
// and the job log a row opens.

#include "core/Logging.h"
#include "core/SharedState.h"
#include "transfer/JobFiles.h"
#include "transfer/JobStarter.h"
#include "transfer/RunningJobs.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"
#include "ui/QueueList.h"
#include "ui/QueueRow.h"
#include "ui/QueueRowRules.h"
#include "ui/SideMenu.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>

namespace kyvane {

void TForm1::connectQueueCommands()
{
    connect(btnStart, &QPushButton::clicked, this, &TForm1::btnStartClick);
    connect(btnStop, &QPushButton::clicked, this, &TForm1::btnStopClick);
    connect(btnDelete, &QPushButton::clicked, this, &TForm1::btnDeleteClick);
    connect(btnSelectAll, &QPushButton::clicked, this, &TForm1::btnSelectAllClick);
    connect(btnSelectNone, &QPushButton::clicked, this, &TForm1::btnSelectNoneClick);
    connect(ListBox2, &QueueList::rowClicked, this, &TForm1::ListBox2ItemClick);
}

void TForm1::startJobFiles(bool reportUnreadable)
{
    const JobStartReport report = startPendingJobs(m_channel, m_engineSettings);
    for (const QString& name : report.alreadyRunning)
        m_restartWhenEnded.insert(name);
    for (const QString& problem : report.unreadable)
        qCWarning(lcUi) << "job file cannot be read:" << problem;
    if (reportUnreadable && !report.unreadable.isEmpty())
        MessageBox::inform(this, QStringLiteral("These job files cannot be read:\n") +
                                     report.unreadable.join(QLatin1Char('\n')));
}

void TForm1::btnStartClick()
{
    closeSideMenus();
    // A job that is still running keeps its row and its worker; every other
    // row goes, and its job starts again from its file.
    for (QueueRow* row : ListBox2->rows()) {
        if (!RunningJobs::isRunning(QueueRowRules::jobNameFromRowName(row->tagString())))
            ListBox2->removeRow(row);
    }
    startJobFiles(true);
}

void TForm1::JobEnded(const QString& tname)
{
    if (!m_restartWhenEnded.remove(tname) || !QFile::exists(JobFiles::jobFilePath(tname)))
        return; // not asked for, or finished meanwhile
    QString error;
    if (startJobFile(tname, m_channel, m_engineSettings, &error) == JobStart::Unreadable)
        qCWarning(lcUi) << "job file cannot be read:" << tname << error;
}

void TForm1::btnStopClick()
{
    stopRequested = true;
    closeSideMenus();
}

void TForm1::btnDeleteClick()
{
    MultiView2->closeDrawer();
    const QList<QueueRow*> rows = ListBox2->rows();
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        QueueRow* row = *it;
        if (!row->isChecked())
            continue;
        if (row->finishedMark() != QueueRowRules::kFinished)
            stopRequested = true; // there is no stop for one job alone
        const QString jobName = QueueRowRules::jobNameFromRowName(row->tagString());
        ListBox2->removeRow(row);
        const QString jobFile = JobFiles::jobFilePath(jobName);
        if (QFile::exists(jobFile) && !QFile::remove(jobFile)) {
            qCWarning(lcUi) << "cannot delete job file" << jobFile;
            continue; // its log stays with it
        }
        const QString jobLog = JobFiles::jobLogPath(jobName);
        if (QFile::exists(jobLog) && !QFile::remove(jobLog))
            qCWarning(lcUi) << "cannot delete job log" << jobLog;
    }
}

void TForm1::btnSelectAllClick()
{
    for (QueueRow* row : ListBox2->rows())
        row->setChecked(true);
}

void TForm1::btnSelectNoneClick()
{
    for (QueueRow* row : ListBox2->rows())
        row->setChecked(false);
}

void TForm1::ListBox2ItemClick(QueueRow* row)
{
    Memo1->clear();
    const QString jobName = QueueRowRules::jobNameFromRowName(row->tagString());
    QFile log(JobFiles::jobLogPath(jobName));
    if (log.exists()) {
        if (!log.open(QIODevice::ReadOnly)) {
            MessageBox::inform(this, log.errorString());
            return;
        }
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(log.readAll());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        Memo1->setPlainText(text);
    }
    ChangeTab(JobLog);
}

} // namespace kyvane
