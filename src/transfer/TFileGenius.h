#pragma once

#include "core/EngineSettings.h"
#include "core/OutcomeRecords.h"
#include "transfer/JobEntry.h"
#include "transfer/RunRecorder.h"
#include "transfer/ServerLabels.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <QThread>

#include <memory>
#include <optional>

class QFile;

namespace kyvane {

class LineConnection;
class ObserverChannel;
class StopToken;

// The backup worker: runs one job on a thread of its own, uploads every entry
// to its server, reports progress and log lines to the observer through
// synchronous hand-overs, and writes the job's log when it ends. It deletes
// itself when its thread has finished.
class TFileGenius final : public QThread
{
    Q_OBJECT

public:
    // Starts a worker on the job, unless a worker runs on it already (then
    // nothing happens and nullptr is returned). The worker gets a stop token
    // of its own (StopTokens). The entries are copied. refused are lines of
    // the job file that are no entries of the job (JobFiles::readJob): the
    // worker logs each as failed before it starts uploading.
    static TFileGenius* Create(const QStringList& infileswithserverinfo, const QString& name,
                               std::shared_ptr<ObserverChannel> observer,
                               const EngineSettings& settings = EngineSettings{},
                               const QStringList& refused = {});

    ~TFileGenius() override;

    // Waits until every worker's thread has ended, at most until deadline.
    // True when none is left running. Called once the event loop is over,
    // before the program ends.
    static bool waitForAllThreads(QDeadlineTimer deadline);

protected:
    // The thread body: create the queue row, upload, write the job log.
    void run() override;

private:
    TFileGenius(const QStringList& infileswithserverinfo, const QString& name,
                std::shared_ptr<ObserverChannel> observer, const EngineSettings& settings,
                const QStringList& refused);

    // The upload of every entry, in order.
    void sendfile2();
    // Logs an entry that names no full path as failed; true when it does.
    bool refuseWithoutFullPath(const JobEntry& entry);
    // The same for the entry in hand, which is also recorded as failed.
    bool refuseEntryWithoutFullPath(const JobEntry& entry);
    // Whether the entry needs a connection and login of its own rather than
    // the one of the last attempt.
    bool needsNewConnection(const JobEntry& entry) const;
    // Opens a connection to the server of the entry and logs in.
    void connectAndLogIn(const JobEntry& entry);
    // Offers the entry's file and sends what the server asks for.
    void transferFile(const JobEntry& entry, const QDateTime& created, const QDateTime& modified,
                      const QString& captured);
    // Sends size bytes of the file from position.
    void sendChunk(QFile& file, qint64 position, qint64 size);
    // Reports a refused or failed login whose log line is already in log;
    // reason is what the entries of that login are recorded with.
    void reportLoginFailure(const QString& reason);
    // An entry whose file is not there: settled when it is gone for good.
    void settleMissingFile(const JobEntry& entry);
    // Records the outcome of the entry in hand (m_entryIndex).
    void recordOutcome(const JobEntry& entry, Outcome outcome, const QString& reason,
                       qint64 size = -1, qint64 modifiedMs = -1);
    // Flushes the job log and lets go of the connection, at the thread's end.
    void Destroy();

    // Hand-overs to the observer's thread.
    void AddToDoList();
    void SetProgressbar();
    void SetfailProgressbar();
    void SetLog();

    // The report fields and the log line are written only by this thread
    // between hand-overs, and read by the hand-overs while it waits.
    std::unique_ptr<LineConnection> IdTCPClient1;
    QString serveronlog;
    QStringList files;
    int progressbarvalue = 0;
    QString log;
    QString loglist;
    QString currentfile;
    int currentindex = 0;
    QString tname;

    std::shared_ptr<ObserverChannel> m_observer;
    EngineSettings m_settings;
    // The outcome of every entry goes to the outcome store through here.
    RunRecorder m_recorder;
    ServerLabels m_labels;
    int m_entryIndex = 0; // the entry in hand
    int m_finished = 0;   // entries settled in this run: confirmed, or gone
    // Why the entries of the last login attempt are passed over once it
    // failed or its connection was lost.
    QString m_passOverReason;
    // Once stopped, the worker passes over every entry left.
    std::shared_ptr<StopToken> m_stop;
    QStringList m_refused; // lines of the job file that are no entries
    // The entry of the last connection attempt (its address, port and
    // account); none before the first.
    std::optional<JobEntry> m_lastAttempt;
    QByteArray m_chunk; // one chunk of file data, reused
};

} // namespace kyvane
