#pragma once

#include "core/OutcomeRecords.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace kyvane {

class EmptyListHint;
class QueueList;
class QueueRow;
class ScreenHost;

// The Queue screen: one progress row per backup job, created and updated by
// the jobs' workers through hand-overs onto this thread, and the commands of
// its side menu.
class QueueScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit QueueScreen(ScreenHost& host, QWidget* parent = nullptr);

    // What a backup worker reports.
    void AddToDoList(const QString& tname, const QStringList& files, const QString& currentfile);
    void SetToDoListProgressbar(const QString& target, int value, int value2, int value3,
                                const QString& currentfile, const QString& server);
    // The worker of tname has ended: its row shows how the run went.
    void JobEnded(const QString& tname, const OutcomeCounts& run);

    // Starts the pending job jobName again, unless a worker runs on it.
    void retryJob(const QString& jobName);

    // The titles and states of the rows in the current language.
    void applyLanguage();

    // Starts a worker for every job file left in the program folder.
    void startJobFiles(bool reportUnreadable);

    // The side menu's commands.
    void btnStartClick();
    void btnStopClick();
    void btnDeleteClick();
    void btnSelectAllClick();
    void btnSelectNoneClick();

private:
    void ListBox2ItemClick(QueueRow* row);
    // The row's title (the job's kind and time) from the outcome store: of
    // the pending job for a new run, else of the job the row shows.
    void showTitle(QueueRow* row, const QString& jobName, bool newRun);
    // The row's state after its run ended: from the worker's counts of the
    // run, which hold also where the outcome store missed an outcome (a
    // full disk); the time it finished from the store where it has one.
    void showRunState(QueueRow* row, const QString& jobName);

    ScreenHost& m_host;
    // Jobs that Start found still running (often still stopping): each
    // starts again from its file as soon as its worker has ended.
    QSet<QString> m_restartWhenEnded;
    // How the latest run of each row's job ended, and when.
    struct RunEnd
    {
        OutcomeCounts counts;
        qint64 atMs = 0;
    };
    QHash<QString, RunEnd> m_runEnds;
    // The outcome store's record of the job of each row; rows of jobs the
    // store does not know are left out.
    QHash<QString, qint64> m_jobIds;

    QueueList* ListBox2 = nullptr;
    EmptyListHint* lblQueueEmpty = nullptr; // what to do while no job is queued
};

} // namespace kyvane
