#pragma once

#include <QString>

#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

namespace kyvane {

// A failure of SQLite: its result code and message.
class SqliteError : public std::runtime_error
{
public:
    SqliteError(int code, const QString& message);

    int code() const { return m_code; }
    QString message() const { return m_message; }

    // The file is no database, or a damaged one.
    bool isDamage() const;

private:
    int m_code;
    QString m_message;
};

// One prepared statement. Parameters are numbered from 1, columns from 0.
// Every failure throws SqliteError.
class SqliteStatement
{
public:
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();

    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, qint64 value);
    SqliteStatement& bind(int index, const QString& value);
    SqliteStatement& bindNull(int index);

    // Runs to the next row: true while there is one.
    bool step();
    // Runs a statement that gives no rows.
    void run();
    // Makes the statement ready to run again with new parameters.
    void reset();

    qint64 integer(int column) const;
    QString text(int column) const;
    bool isNull(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

// One connection to an SQLite file. Not thread-safe: its owner serialises
// the calls. Every failure throws SqliteError.
class SqliteDatabase
{
public:
    // Opens the file, creating it when it is missing. A symbolic link is
    // not followed.
    explicit SqliteDatabase(const QString& path);
    ~SqliteDatabase();

    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Runs statements that give no rows, one after another.
    void exec(const char* sql);
    SqliteStatement prepare(const char* sql) { return SqliteStatement(m_db, sql); }

    // The single integer a query such as "PRAGMA user_version" gives.
    qint64 queryInteger(const char* sql);

    qint64 lastInsertId() const;

    // SQLite opened the file for reading only (the file may not be written).
    bool isReadOnly() const;

private:
    sqlite3* m_db = nullptr;
};

// BEGIN IMMEDIATE on creation (the write lock is taken at once, so two
// writers never deadlock), ROLLBACK on destruction unless committed.
class SqliteTransaction
{
public:
    explicit SqliteTransaction(SqliteDatabase& db);
    ~SqliteTransaction();

    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void commit();

private:
    SqliteDatabase& m_db;
    bool m_done = false;
};

} // namespace kyvane
