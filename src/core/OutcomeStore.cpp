#include "core/OutcomeStore.h"

#include "core/Logging.h"
#include "core/ProgramFolder.h"
#include "core/SqliteDatabase.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>

namespace kyvane {

const QString OutcomeStore::kFileName = QStringLiteral("outcomes.db");

namespace {

// A waiting writer gives up after this long; a store held by another
// process for longer costs an outcome record, never the backup.
constexpr int kBusyTimeoutMs = 2000;

constexpr const char* kSchema = R"sql(
CREATE TABLE file_outcomes (
    path TEXT NOT NULL,
    address TEXT NOT NULL,
    port INTEGER NOT NULL,
    account TEXT NOT NULL,
    size INTEGER,
    modified INTEGER,
    outcome TEXT NOT NULL,
    reason TEXT NOT NULL,
    at INTEGER NOT NULL,
    confirmed_size INTEGER,
    confirmed_modified INTEGER,
    confirmed_at INTEGER,
    PRIMARY KEY (path, address, port, account)
) WITHOUT ROWID;
CREATE TABLE jobs (
    id INTEGER PRIMARY KEY AUTOINCREMENT, -- never reused: screens keep ids
    name TEXT NOT NULL,
    kind TEXT NOT NULL,
    first_day TEXT NOT NULL,
    last_day TEXT NOT NULL,
    made INTEGER NOT NULL,
    finished INTEGER,
    log TEXT NOT NULL
);
CREATE INDEX jobs_by_name ON jobs (name, finished);
CREATE INDEX jobs_by_finish ON jobs (finished);
CREATE TABLE job_entries (
    job INTEGER NOT NULL,
    entry INTEGER NOT NULL,
    path TEXT NOT NULL,
    address TEXT NOT NULL,
    port INTEGER NOT NULL,
    account TEXT NOT NULL,
    outcome TEXT NOT NULL,
    reason TEXT NOT NULL,
    at INTEGER NOT NULL,
    PRIMARY KEY (job, entry)
) WITHOUT ROWID;
)sql";

// Thrown when the file is sound but not ours to use.
struct NewerSchema
{
    qint64 version;
};

std::unique_ptr<SqliteDatabase> openDatabase(const QString& path)
{
    // A folder, a link or a device where the store belongs can never be
    // opened as one: it is moved aside like a damaged file.
    const QFileInfo found(path);
    if (found.isSymLink() || (found.exists() && !found.isFile()))
        throw SqliteError(SQLITE_NOTADB, QStringLiteral("%1 is no file").arg(path));
    const bool isNew = !found.exists();
    auto db = std::make_unique<SqliteDatabase>(path);
    if (isNew) // it holds the names of the user's files
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    db->exec(qPrintable(QStringLiteral("PRAGMA busy_timeout = %1").arg(kBusyTimeoutMs)));
    // Reading the header finds a file that is no database at all.
    const qint64 version = db->queryInteger("PRAGMA user_version");
    if (version > OutcomeStore::kSchemaVersion)
        throw NewerSchema{version};
    // SQLite quietly opens a file it may not write for reading only; every
    // record would then be lost without a word.
    if (db->isReadOnly())
        throw SqliteError(SQLITE_READONLY, QStringLiteral("%1 cannot be written").arg(path));
    // WAL: readers never wait for the writer, and an end of the process at
    // any moment keeps every outcome committed: a crash of the program loses
    // at most the one in flight. NORMAL: a commit does not wait for the disk
    // (that cost two to three times the upload of a job of small files); a
    // power cut may lose the last few outcomes, never the store, and the
    // server answers for those files again at the next run.
    db->exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
    {
        SqliteStatement check = db->prepare("PRAGMA quick_check");
        if (check.step() && check.text(0) != QLatin1String("ok"))
            throw SqliteError(SQLITE_CORRUPT, check.text(0));
    }
    if (version == 0) {
        SqliteTransaction transaction(*db);
        db->exec(kSchema);
        db->exec(qPrintable(QStringLiteral("PRAGMA user_version = %1")
                                .arg(OutcomeStore::kSchemaVersion)));
        transaction.commit();
    }
    return db;
}

bool isTaken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Renames whatever is at from (a file, a folder, a link, also one that
// points nowhere) to the free name to.
bool renameAside(const QString& from, const QString& to)
{
    return !isTaken(to) &&
           std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Moves path and its journal files aside, under a name no earlier damaged
// store has; the name they went to.
QString moveAside(const QString& path)
{
    const QString stem = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = stem;
    for (int n = 2; isTaken(aside) || isTaken(aside + QStringLiteral("-wal")); ++n)
        aside = stem + QStringLiteral("-%1").arg(n);
    if (!renameAside(path, aside))
        return QString();
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (!isTaken(path + suffix))
            continue;
        if (!renameAside(path + suffix, aside + suffix))
            QFile::remove(path + suffix);
    }
    return aside;
}

std::shared_ptr<OutcomeStore> g_shared;
QMutex g_sharedMutex;

void bindServer(SqliteStatement& statement, int first, const ServerKey& server)
{
    statement.bind(first, server.address)
        .bind(first + 1, qint64(server.port))
        .bind(first + 2, server.account);
}

void bindOptional(SqliteStatement& statement, int index, qint64 value)
{
    if (value < 0)
        statement.bindNull(index);
    else
        statement.bind(index, value);
}

} // namespace

OutcomeStore::OutcomeStore(const QString& path, std::unique_ptr<SqliteDatabase> db)
    : m_path(path), m_db(std::move(db))
{
}

OutcomeStore::~OutcomeStore() = default;

OutcomeStore::Opened OutcomeStore::open(const QString& path)
{
    Opened opened;
    const auto attempt = [&] {
        opened.store = std::shared_ptr<OutcomeStore>(new OutcomeStore(path, openDatabase(path)));
    };
    try {
        attempt();
        return opened;
    } catch (const NewerSchema& newer) {
        opened.error = QStringLiteral("%1 was written by a newer Kyvane (schema %2)")
                           .arg(kFileName)
                           .arg(newer.version);
        return opened;
    } catch (const SqliteError& error) {
        if (!error.isDamage()) {
            opened.error = error.message();
            return opened;
        }
        qCWarning(lcCore) << "outcome store damaged:" << error.message();
    }
    opened.movedAsideTo = moveAside(path);
    if (opened.movedAsideTo.isEmpty()) {
        opened.error = QStringLiteral("%1 is damaged and cannot be moved aside").arg(kFileName);
        return opened;
    }
    try {
        attempt();
    } catch (const SqliteError& error) {
        opened.error = error.message();
    } catch (const NewerSchema&) {
        opened.error = QStringLiteral("%1 cannot be made anew").arg(kFileName);
    }
    return opened;
}

OutcomeStore::Opened OutcomeStore::openForProgramFolder()
{
    Opened opened = open(ProgramFolder::file(kFileName));
    QMutexLocker locker(&g_sharedMutex);
    g_shared = opened.store;
    return opened;
}

std::shared_ptr<OutcomeStore> OutcomeStore::shared()
{
    const QString path = ProgramFolder::file(kFileName);
    QMutexLocker locker(&g_sharedMutex);
    if (g_shared && g_shared->path() == path)
        return g_shared;
    Opened opened = open(path);
    if (!opened.error.isEmpty())
        qCWarning(lcCore) << "outcome store not used:" << opened.error;
    g_shared = opened.store;
    return g_shared;
}

void OutcomeStore::runGuarded(const std::function<void(SqliteDatabase&)>& work) const
{
    QMutexLocker locker(&m_mutex);
    if (m_damaged)
        return;
    try {
        work(*m_db);
    } catch (const SqliteError& error) {
        qCWarning(lcCore) << "outcome store:" << error.message();
        // A damaged file is moved aside at the next start; until then it is
        // left alone rather than written into further.
        if (error.isDamage())
            m_damaged = true;
    }
}

bool OutcomeStore::isConfirmed(const QString& path, const ServerKey& server, qint64 size,
                               qint64 modifiedMs) const
{
    return run<bool>(false, [&](SqliteDatabase& db) {
        SqliteStatement query = db.prepare(
            "SELECT 1 FROM file_outcomes WHERE path = ?1 AND address = ?2 AND port = ?3 "
            "AND account = ?4 AND confirmed_size = ?5 AND confirmed_modified = ?6");
        query.bind(1, path);
        bindServer(query, 2, server);
        query.bind(5, size).bind(6, modifiedMs);
        return query.step();
    });
}

std::optional<Confirmation> OutcomeStore::lastConfirmation(const QString& path) const
{
    using Result = std::optional<Confirmation>;
    return run<Result>(std::nullopt, [&](SqliteDatabase& db) -> Result {
        SqliteStatement query = db.prepare(
            "SELECT address, port, account, confirmed_at, confirmed_size, confirmed_modified "
            "FROM file_outcomes WHERE path = ?1 AND confirmed_at IS NOT NULL "
            "ORDER BY confirmed_at DESC LIMIT 1");
        query.bind(1, path);
        if (!query.step())
            return std::nullopt;
        Confirmation confirmation;
        confirmation.server = {query.text(0), int(query.integer(1)), query.text(2)};
        confirmation.atMs = query.integer(3);
        confirmation.size = query.integer(4);
        confirmation.modifiedMs = query.integer(5);
        return confirmation;
    });
}

void OutcomeStore::recordFileOutcome(const FileOutcome& outcome)
{
    runGuarded([&](SqliteDatabase& db) {
        SqliteTransaction transaction(db);
        writeFileOutcome(db, outcome);
        transaction.commit();
    });
}

void writeFileOutcome(SqliteDatabase& db, const FileOutcome& outcome)
{
    if (outcome.outcome == Outcome::Waiting)
        return;
    SqliteStatement last = db.prepare(
        "INSERT INTO file_outcomes (path, address, port, account, size, modified, outcome, "
        "reason, at) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) "
        "ON CONFLICT (path, address, port, account) DO UPDATE SET size = excluded.size, "
        "modified = excluded.modified, outcome = excluded.outcome, reason = excluded.reason, "
        "at = excluded.at");
    last.bind(1, outcome.file.path);
    bindServer(last, 2, outcome.file.server);
    bindOptional(last, 5, outcome.size);
    bindOptional(last, 6, outcome.modifiedMs);
    last.bind(7, outcomeName(outcome.outcome)).bind(8, outcome.reason).bind(9, outcome.atMs);
    last.run();
    if (!isConfirmation(outcome.outcome))
        return;
    SqliteStatement confirmed = db.prepare(
        "UPDATE file_outcomes SET confirmed_size = ?5, confirmed_modified = ?6, "
        "confirmed_at = ?7 WHERE path = ?1 AND address = ?2 AND port = ?3 AND account = ?4");
    confirmed.bind(1, outcome.file.path);
    bindServer(confirmed, 2, outcome.file.server);
    bindOptional(confirmed, 5, outcome.size);
    bindOptional(confirmed, 6, outcome.modifiedMs);
    confirmed.bind(7, outcome.atMs);
    confirmed.run();
}

} // namespace kyvane
