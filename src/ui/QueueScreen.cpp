// The Queue screen: one progress row per backup job, created and updated by
// the jobs' workers through hand-overs onto this thread.

#include "core/Logging.h"
#include "core/SharedState.h"
#include "ui/MainWindow.h"
#include "ui/QueueList.h"
#include "ui/QueueRow.h"
#include "ui/QueueRowRules.h"

#include <QLabel>
#include <QMutexLocker>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kyvane {

void TForm1::buildQueuePage(QWidget* page)
{
    ListBox2 = new QueueList(page);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(ListBox2);
}

void TForm1::AddToDoList(const QString& tname, const QStringList& files, const QString& currentfile)
{
    imgRedSpot->show();
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
    row->setText(QueueRowRules::rowText(QueueRowRules::serverOfEntry(files.first()), currentfile));
    row->setFinishedMark(QueueRowRules::kRunning);
    ListBox2->appendRow(row);
}

void TForm1::SetToDoListProgressbar(const QString& target, int value, int value2, int value3,
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

} // namespace kyvane
