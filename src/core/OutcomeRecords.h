#pragma once

#include <QString>

#include <optional>

namespace kyvane {

// What became of one file of a job on one server. Waiting: not handled in
// the job's latest run (not reached yet, or the run was stopped).
enum class Outcome { Waiting, Sent, Held, Failed, NotFound, Refused };

// The stored name of an outcome ("sent", "held", ...), and back; an unknown
// name reads as Failed, so a record is never taken for a confirmation.
QString outcomeName(Outcome outcome);
Outcome outcomeFromName(const QString& name);

// The server has the file: sent now, or held already.
constexpr bool isConfirmation(Outcome outcome)
{
    return outcome == Outcome::Sent || outcome == Outcome::Held;
}

// Nothing is left to do for the entry: confirmed, or its file is gone.
constexpr bool isSettled(Outcome outcome)
{
    return isConfirmation(outcome) || outcome == Outcome::NotFound;
}

// A backup server as a login: address, port and account.
struct ServerKey
{
    QString address;
    int port = 0;
    QString account;

    friend bool operator==(const ServerKey&, const ServerKey&) = default;
};

// One file on one server.
struct FileOnServer
{
    QString path;
    ServerKey server;
};

// One outcome as it happened. size and modifiedMs describe the file when it
// was offered; -1 when unknown (a file that is gone).
struct FileOutcome
{
    FileOnServer file;
    qint64 size = -1;
    qint64 modifiedMs = -1; // milliseconds since the epoch
    Outcome outcome = Outcome::Waiting;
    QString reason;
    qint64 atMs = 0;
};

// A server's newest confirmation of a file.
struct Confirmation
{
    ServerKey server;
    qint64 atMs = 0;
    qint64 size = -1;
    qint64 modifiedMs = -1;
};

// How many entries of a job have each outcome.
struct OutcomeCounts
{
    int sent = 0;
    int held = 0;
    int failed = 0;
    int notFound = 0;
    int refused = 0;
    int waiting = 0;

    void add(Outcome outcome, int count = 1);
    int total() const { return sent + held + failed + notFound + refused + waiting; }
    // Entries the run did not back up for a reason the user should see.
    int problems() const { return failed + refused + notFound; }
    // Every entry confirmed or gone: the job is done.
    bool allSettled() const { return failed == 0 && refused == 0 && waiting == 0; }
};

// How a job was made.
struct JobKind
{
    enum class Type { Unknown, Today, FiveDays, DateRange, Manual };
    Type type = Type::Unknown;
    QString firstDay; // DateRange: "YYYY/MM/DD"
    QString lastDay;

    static JobKind of(Type type) { return {type, {}, {}}; }
    static JobKind range(const QString& first, const QString& last)
    {
        return {Type::DateRange, first, last};
    }
};

QString jobKindName(JobKind::Type type);
JobKind::Type jobKindFromName(const QString& name);

// One job as the store knows it: pending (no finish time) or finished, in
// the history.
struct JobRecord
{
    qint64 id = 0;
    QString name; // hhmmss, the name of its job file
    JobKind kind;
    qint64 madeMs = 0;
    std::optional<qint64> finishedMs;
    QString logFile; // finished jobs: the log's file name in history/
    OutcomeCounts counts;
};

// One entry of a job with its outcome in the job's latest run.
struct EntryRecord
{
    int entry = 0; // position in the job
    FileOnServer file;
    Outcome outcome = Outcome::Waiting;
    QString reason;
    qint64 atMs = 0;
};

} // namespace kyvane
