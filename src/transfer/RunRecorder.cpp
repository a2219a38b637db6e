#include "transfer/RunRecorder.h"

#include "transfer/JobEntry.h"
#include "transfer/JobFiles.h"
#include "transfer/JobHistory.h"

#include <QDateTime>
#include <QFile>

#include <algorithm>

namespace kyvane {

namespace {

FileOnServer fileOnServer(const JobEntry& entry)
{
    return {entry.path, entry.serverKey()};
}

} // namespace

RunRecorder::RunRecorder(const QString& jobName, const QStringList& entries,
                         std::shared_ptr<OutcomeStore> store)
    : m_jobName(jobName), m_records(std::move(store))
{
    for (const QString& line : entries)
        m_entries.append(fileOnServer(JobEntry::split(line)));
    m_outcomes.fill(Outcome::Waiting, m_entries.size());
}

void RunRecorder::started(qint64 madeMs)
{
    m_hadJobFile = QFile::exists(JobFiles::jobFilePath(m_jobName));
    m_job = m_records.startRun(m_jobName, m_entries, madeMs);
}

void RunRecorder::record(int index, const JobEntry& entry, Outcome outcome, const QString& reason,
                         qint64 size, qint64 modifiedMs)
{
    if (index < 0 || index >= m_outcomes.size())
        return;
    m_outcomes[index] = outcome;
    if (!m_job)
        return;
    FileOutcome happened;
    happened.file = fileOnServer(entry);
    happened.size = size;
    happened.modifiedMs = modifiedMs;
    happened.outcome = outcome;
    happened.reason = reason;
    happened.atMs = QDateTime::currentMSecsSinceEpoch();
    m_records.record(m_job, index, happened);
}

OutcomeCounts RunRecorder::counts() const
{
    OutcomeCounts counts;
    for (const Outcome outcome : m_outcomes)
        counts.add(outcome);
    return counts;
}

void RunRecorder::ended()
{
    const bool allSettled = std::all_of(m_outcomes.cbegin(), m_outcomes.cend(), isSettled);
    // The window removes the job file when the last report finishes the
    // job; while it is there the job is pending and runs again.
    if (!m_job || !allSettled || !m_hadJobFile ||
        QFile::exists(JobFiles::jobFilePath(m_jobName)))
        return;
    const QDateTime now = QDateTime::currentDateTime();
    m_records.finish(m_job, now.toMSecsSinceEpoch(), JobHistory::archiveLog(m_jobName, now));
    JobHistory::prune(m_records, now.toMSecsSinceEpoch());
}

} // namespace kyvane
