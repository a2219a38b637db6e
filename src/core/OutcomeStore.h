#pragma once

#include "core/OutcomeRecords.h"

#include <QMutex>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace kyvane {

class SqliteDatabase;

// What the program knows about what is backed up: one record per file and
// server with its last outcome and, apart from it, the server's newest
// confirmation (so that a failure after a success does not hide that the
// server has the file), plus the jobs with the outcome of each entry (see
// JobRecords). One SQLite file in the program folder, in WAL mode, written
// through one connection shared by every thread. Every method is
// thread-safe and never throws: when the file fails, the method gives its
// empty answer and the program goes on without the record.
class OutcomeStore
{
public:
    static constexpr int kSchemaVersion = 1;
    static const QString kFileName; // "outcomes.db"

    struct Opened
    {
        std::shared_ptr<OutcomeStore> store; // null when it cannot be used
        QString movedAsideTo; // where a damaged file went, when one was moved
        QString error;        // why there is no store
    };

    // Opens the store file at path, creating it when missing. A file that is
    // damaged or no database, or anything but a file in its place, is moved
    // aside (with its journal) and a new, empty store takes its place. A
    // file of a newer schema, or one that cannot be written, is left alone
    // and not used.
    static Opened open(const QString& path);

    // The store of the program folder: the one opened by openForProgramFolder
    // or, when none was or the program folder has changed (tests), opened
    // now. Null when it cannot be used.
    static std::shared_ptr<OutcomeStore> shared();
    // Opens the program folder's store and makes it the shared one; says
    // what happened, for the start-up to show.
    static Opened openForProgramFolder();

    ~OutcomeStore();
    OutcomeStore(const OutcomeStore&) = delete;
    OutcomeStore& operator=(const OutcomeStore&) = delete;

    QString path() const { return m_path; }

    // Whether server has confirmed (sent, or held already) the file at path
    // while it had this size and modification time.
    bool isConfirmed(const QString& path, const ServerKey& server, qint64 size,
                     qint64 modifiedMs) const;

    // The newest confirmation of the file at path by any server.
    std::optional<Confirmation> lastConfirmation(const QString& path) const;

    // The file's record on its server: its last outcome; a confirmation also
    // becomes the server's newest confirmation. Waiting is no outcome of a
    // server and changes nothing here.
    void recordFileOutcome(const FileOutcome& outcome);

    // Runs work on the connection under the store's lock, in the store's
    // own parts (JobRecords). SQLite errors are caught here: work's result
    // is then fallback, and a damaged file is no longer used.
    template <typename T>
    T run(T fallback, const std::function<T(SqliteDatabase&)>& work) const
    {
        T result = fallback;
        runGuarded([&](SqliteDatabase& db) { result = work(db); });
        return result;
    }
    void runGuarded(const std::function<void(SqliteDatabase&)>& work) const;

private:
    OutcomeStore(const QString& path, std::unique_ptr<SqliteDatabase> db);

    QString m_path;
    mutable QMutex m_mutex;
    std::unique_ptr<SqliteDatabase> m_db;
    mutable bool m_damaged = false;
};

// Writes the outcome into the store's tables within an open transaction.
void writeFileOutcome(SqliteDatabase& db, const FileOutcome& outcome);

} // namespace kyvane
