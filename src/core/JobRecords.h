#pragma once

#include "core/OutcomeRecords.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace kyvane {

class OutcomeStore;

// The jobs in the outcome store: how each was made, the outcome of each of
// its entries in its latest run, and the finished ones (the history). A job
// is pending while its job file exists; at most one pending record has a
// given job name. All of it works on a null store too, and then records and
// finds nothing.
class JobRecords
{
public:
    // How long a finished job stays in the history, and how many at most.
    static constexpr qint64 kHistoryDays = 90;
    static constexpr int kHistoryJobs = 1000;

    explicit JobRecords(std::shared_ptr<OutcomeStore> store);

    // A new job: replaces any pending record of the same name (a job that
    // was deleted). Its id, 0 when nothing could be recorded.
    qint64 addJob(const QString& name, const JobKind& kind, qint64 madeMs);

    // A run of the pending job name begins with these entries, every one
    // waiting. A job without a pending record (made before this store
    // existed) gets one of unknown kind, made at madeMs.
    qint64 startRun(const QString& name, const QList<FileOnServer>& entries, qint64 madeMs);

    // The outcome of entry number entry of job: the job's entry and the
    // file's record change together, or neither.
    void record(qint64 job, int entry, const FileOutcome& outcome);

    // The job is done: it moves to the history with its log file.
    void finish(qint64 job, qint64 finishedMs, const QString& logFile);

    // The pending record of name goes (the user deleted the job).
    void dropPending(const QString& name);
    // Pending records whose job is none of names go (their job files are
    // gone).
    void dropPendingExcept(const QStringList& names);

    std::optional<JobRecord> pending(const QString& name) const;
    std::optional<JobRecord> job(qint64 id) const;

    // The entries of a job: failures first (failed, refused, not found),
    // then the waiting ones, then the confirmed ones; in job order within.
    QList<EntryRecord> entries(qint64 job) const;

    // Finished jobs, newest first.
    QList<JobRecord> history() const;

    // Removes finished jobs older than days or beyond the jobs newest; the
    // log files they named.
    QStringList pruneHistory(qint64 nowMs, qint64 days = kHistoryDays, int jobs = kHistoryJobs);

private:
    std::shared_ptr<OutcomeStore> m_store;
};

} // namespace kyvane
