#pragma once

#include "core/JobRecords.h"
#include "core/OutcomeRecords.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace kyvane {

class OutcomeStore;
struct JobEntry;

// What a backup worker tells the outcome store about one run of its job:
// the run begins, each entry ends in an outcome, the run is over. A job
// whose every entry was settled (confirmed, or its file gone) and whose job
// file the window removed moves to the history. The run never fails because
// of it: without a store nothing is recorded.
class RunRecorder
{
public:
    RunRecorder(const QString& jobName, const QStringList& entries,
                std::shared_ptr<OutcomeStore> store);

    // Every entry waiting. madeMs: when the job was made, for a job the
    // store does not know yet.
    void started(qint64 madeMs);

    // Entry number index ended in outcome. size and modifiedMs describe the
    // file as it was offered; -1 when unknown.
    void record(int index, const JobEntry& entry, Outcome outcome, const QString& reason,
                qint64 size = -1, qint64 modifiedMs = -1);

    // After the job log is written.
    void ended();

    // How the entries of the run ended so far, whether or not the store
    // took them.
    OutcomeCounts counts() const;

private:
    QString m_jobName;
    JobRecords m_records;
    QList<FileOnServer> m_entries;
    QList<Outcome> m_outcomes;
    qint64 m_job = 0;
    // The run began with a job file in the program folder; only such a job
    // can be finished by the window removing it.
    bool m_hadJobFile = false;
};

} // namespace kyvane
