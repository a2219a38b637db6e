#include "core/SqliteDatabase.h"

#include <sqlite3.h>

namespace kyvane {

namespace {

[[noreturn]] void fail(sqlite3* db, int code)
{
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    throw SqliteError(code, message);
}

void check(sqlite3* db, int code)
{
    if (code != SQLITE_OK)
        fail(db, code);
}

} // namespace

SqliteError::SqliteError(int code, const QString& message)
    : std::runtime_error(message.toStdString()), m_code(code), m_message(message)
{
}

bool SqliteError::isDamage() const
{
    const int primary = m_code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) : m_db(db)
{
    check(m_db, sqlite3_prepare_v2(m_db, sql, -1, &m_statement, nullptr));
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::bind(int index, qint64 value)
{
    check(m_db, sqlite3_bind_int64(m_statement, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    check(m_db, sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()),
                                  SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index)
{
    check(m_db, sqlite3_bind_null(m_statement, index));
    return *this;
}

bool SqliteStatement::step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    fail(m_db, code);
}

void SqliteStatement::run()
{
    while (step()) {
    }
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QString SqliteStatement::text(int column) const
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

SqliteDatabase::SqliteDatabase(const QString& path)
{
    // One connection per owner, serialised by the owner: no mutex inside
    // SQLite needed.
    const int code = sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                                         SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_NOFOLLOW,
                                     nullptr);
    if (code != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                     : QString::fromUtf8(sqlite3_errstr(code));
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw SqliteError(code, message);
    }
    sqlite3_extended_result_codes(m_db, 1);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close_v2(m_db);
}

void SqliteDatabase::exec(const char* sql)
{
    char* error = nullptr;
    const int code = sqlite3_exec(m_db, sql, nullptr, nullptr, &error);
    if (code != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errstr(code));
        sqlite3_free(error);
        throw SqliteError(code, message);
    }
}

qint64 SqliteDatabase::queryInteger(const char* sql)
{
    SqliteStatement statement = prepare(sql);
    return statement.step() ? statement.integer(0) : 0;
}

qint64 SqliteDatabase::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

bool SqliteDatabase::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1;
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : m_db(db)
{
    m_db.exec("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction()
{
    if (m_done)
        return;
    try {
        m_db.exec("ROLLBACK");
    } catch (const SqliteError&) {
        // SQLite has rolled back by itself after some failures.
    }
}

void SqliteTransaction::commit()
{
    m_db.exec("COMMIT");
    m_done = true;
}

} // namespace kyvane
