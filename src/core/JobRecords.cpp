#include "core/JobRecords.h"

#include "core/OutcomeStore.h"
#include "core/SqliteDatabase.h"

namespace kyvane {

namespace {

constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;

constexpr const char* kJobColumns =
    "SELECT id, name, kind, first_day, last_day, made, finished, log FROM jobs ";

OutcomeCounts countsOf(SqliteDatabase& db, qint64 job)
{
    SqliteStatement query =
        db.prepare("SELECT outcome, count(*) FROM job_entries WHERE job = ?1 GROUP BY outcome");
    query.bind(1, job);
    OutcomeCounts counts;
    while (query.step())
        counts.add(outcomeFromName(query.text(0)), int(query.integer(1)));
    return counts;
}

// The job records a query over kJobColumns gives, with their counts.
QList<JobRecord> readJobs(SqliteDatabase& db, SqliteStatement& query)
{
    QList<JobRecord> jobs;
    while (query.step()) {
        JobRecord job;
        job.id = query.integer(0);
        job.name = query.text(1);
        job.kind = {jobKindFromName(query.text(2)), query.text(3), query.text(4)};
        job.madeMs = query.integer(5);
        if (!query.isNull(6))
            job.finishedMs = query.integer(6);
        job.logFile = query.text(7);
        jobs.append(job);
    }
    for (JobRecord& job : jobs)
        job.counts = countsOf(db, job.id);
    return jobs;
}

std::optional<qint64> pendingId(SqliteDatabase& db, const QString& name)
{
    SqliteStatement query =
        db.prepare("SELECT id FROM jobs WHERE name = ?1 AND finished IS NULL ORDER BY id DESC");
    query.bind(1, name);
    if (!query.step())
        return std::nullopt;
    return query.integer(0);
}

void deleteJob(SqliteDatabase& db, qint64 id)
{
    SqliteStatement entries = db.prepare("DELETE FROM job_entries WHERE job = ?1");
    entries.bind(1, id).run();
    SqliteStatement job = db.prepare("DELETE FROM jobs WHERE id = ?1");
    job.bind(1, id).run();
}

qint64 insertJob(SqliteDatabase& db, const QString& name, const JobKind& kind, qint64 madeMs)
{
    SqliteStatement insert = db.prepare("INSERT INTO jobs (name, kind, first_day, last_day, made, "
                                        "finished, log) VALUES (?1, ?2, ?3, ?4, ?5, NULL, '')");
    insert.bind(1, name)
        .bind(2, jobKindName(kind.type))
        .bind(3, kind.firstDay)
        .bind(4, kind.lastDay)
        .bind(5, madeMs)
        .run();
    return db.lastInsertId();
}

} // namespace

JobRecords::JobRecords(std::shared_ptr<OutcomeStore> store) : m_store(std::move(store)) {}

qint64 JobRecords::addJob(const QString& name, const JobKind& kind, qint64 madeMs)
{
    if (!m_store)
        return 0;
    return m_store->run<qint64>(0, [&](SqliteDatabase& db) {
        SqliteTransaction transaction(db);
        while (const auto earlier = pendingId(db, name))
            deleteJob(db, *earlier);
        const qint64 id = insertJob(db, name, kind, madeMs);
        transaction.commit();
        return id;
    });
}

qint64 JobRecords::startRun(const QString& name, const QList<FileOnServer>& entries,
                            qint64 madeMs)
{
    if (!m_store)
        return 0;
    return m_store->run<qint64>(0, [&](SqliteDatabase& db) {
        SqliteTransaction transaction(db);
        const qint64 id = pendingId(db, name).value_or(0);
        const qint64 job = id ? id : insertJob(db, name, JobKind{}, madeMs);
        SqliteStatement clear = db.prepare("DELETE FROM job_entries WHERE job = ?1");
        clear.bind(1, job).run();
        SqliteStatement insert =
            db.prepare("INSERT INTO job_entries (job, entry, path, address, port, account, "
                       "outcome, reason, at) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 'waiting', '', 0)");
        for (int i = 0; i < entries.size(); ++i) {
            const FileOnServer& entry = entries.at(i);
            insert.reset();
            insert.bind(1, job)
                .bind(2, qint64(i))
                .bind(3, entry.path)
                .bind(4, entry.server.address)
                .bind(5, qint64(entry.server.port))
                .bind(6, entry.server.account)
                .run();
        }
        transaction.commit();
        return job;
    });
}

void JobRecords::record(qint64 job, int entry, const FileOutcome& outcome)
{
    if (!m_store)
        return;
    m_store->runGuarded([&](SqliteDatabase& db) {
        SqliteTransaction transaction(db);
        SqliteStatement update = db.prepare("UPDATE job_entries SET outcome = ?3, reason = ?4, "
                                             "at = ?5 WHERE job = ?1 AND entry = ?2");
        update.bind(1, job)
            .bind(2, qint64(entry))
            .bind(3, outcomeName(outcome.outcome))
            .bind(4, outcome.reason)
            .bind(5, outcome.atMs)
            .run();
        writeFileOutcome(db, outcome);
        transaction.commit();
    });
}

void JobRecords::finish(qint64 job, qint64 finishedMs, const QString& logFile)
{
    if (!m_store)
        return;
    m_store->runGuarded([&](SqliteDatabase& db) {
        SqliteStatement update = db.prepare("UPDATE jobs SET finished = ?2, log = ?3 WHERE id = ?1");
        update.bind(1, job).bind(2, finishedMs).bind(3, logFile).run();
    });
}

void JobRecords::dropPending(const QString& name)
{
    if (!m_store)
        return;
    m_store->runGuarded([&](SqliteDatabase& db) {
        SqliteTransaction transaction(db);
        while (const auto id = pendingId(db, name))
            deleteJob(db, *id);
        transaction.commit();
    });
}

void JobRecords::dropPendingExcept(const QStringList& names)
{
    if (!m_store)
        return;
    m_store->runGuarded([&](SqliteDatabase& db) {
        SqliteTransaction transaction(db);
        QList<qint64> gone;
        SqliteStatement query = db.prepare("SELECT id, name FROM jobs WHERE finished IS NULL");
        while (query.step())
            if (!names.contains(query.text(1)))
                gone.append(query.integer(0));
        for (const qint64 id : gone)
            deleteJob(db, id);
        transaction.commit();
    });
}

std::optional<JobRecord> JobRecords::pending(const QString& name) const
{
    using Result = std::optional<JobRecord>;
    if (!m_store)
        return std::nullopt;
    return m_store->run<Result>(std::nullopt, [&](SqliteDatabase& db) -> Result {
        SqliteStatement query = db.prepare(
            (QByteArray(kJobColumns) + "WHERE name = ?1 AND finished IS NULL ORDER BY id DESC")
                .constData());
        query.bind(1, name);
        const QList<JobRecord> jobs = readJobs(db, query);
        if (jobs.isEmpty())
            return std::nullopt;
        return jobs.first();
    });
}

std::optional<JobRecord> JobRecords::job(qint64 id) const
{
    using Result = std::optional<JobRecord>;
    if (!m_store)
        return std::nullopt;
    return m_store->run<Result>(std::nullopt, [&](SqliteDatabase& db) -> Result {
        SqliteStatement query = db.prepare((QByteArray(kJobColumns) + "WHERE id = ?1").constData());
        query.bind(1, id);
        const QList<JobRecord> jobs = readJobs(db, query);
        if (jobs.isEmpty())
            return std::nullopt;
        return jobs.first();
    });
}

QList<EntryRecord> JobRecords::entries(qint64 job) const
{
    if (!m_store)
        return {};
    return m_store->run<QList<EntryRecord>>({}, [&](SqliteDatabase& db) {
        SqliteStatement query = db.prepare(
            "SELECT entry, path, address, port, account, outcome, reason, at FROM job_entries "
            "WHERE job = ?1 ORDER BY CASE outcome WHEN 'failed' THEN 0 WHEN 'refused' THEN 1 "
            "WHEN 'not-found' THEN 2 WHEN 'waiting' THEN 3 ELSE 4 END, entry");
        query.bind(1, job);
        QList<EntryRecord> entries;
        while (query.step()) {
            EntryRecord entry;
            entry.entry = int(query.integer(0));
            entry.file = {query.text(1), {query.text(2), int(query.integer(3)), query.text(4)}};
            entry.outcome = outcomeFromName(query.text(5));
            entry.reason = query.text(6);
            entry.atMs = query.integer(7);
            entries.append(entry);
        }
        return entries;
    });
}

QList<JobRecord> JobRecords::history() const
{
    if (!m_store)
        return {};
    return m_store->run<QList<JobRecord>>({}, [&](SqliteDatabase& db) {
        SqliteStatement query = db.prepare(
            (QByteArray(kJobColumns) + "WHERE finished IS NOT NULL ORDER BY finished DESC, id DESC")
                .constData());
        return readJobs(db, query);
    });
}

QStringList JobRecords::pruneHistory(qint64 nowMs, qint64 days, int jobs)
{
    if (!m_store)
        return {};
    return m_store->run<QStringList>({}, [&](SqliteDatabase& db) {
        SqliteTransaction transaction(db);
        SqliteStatement query =
            db.prepare("SELECT id, log, finished FROM jobs WHERE finished IS NOT NULL "
                       "ORDER BY finished DESC, id DESC");
        QList<qint64> old;
        QStringList logs;
        int kept = 0;
        while (query.step()) {
            const bool tooOld = query.integer(2) < nowMs - days * kDayMs;
            if (tooOld || kept >= jobs) {
                old.append(query.integer(0));
                logs.append(query.text(1));
            } else {
                ++kept;
            }
        }
        for (const qint64 id : old)
            deleteJob(db, id);
        transaction.commit();
        return logs;
    });
}

} // namespace kyvane
