#include "db/SqliteConnection.h"

#include <QFileInfo>
#include <sqlite3.h>
#include <utility>

namespace {

// Finalizes the statement whatever way the loop leaves.
struct StatementGuard
{
    sqlite3_stmt* stmt = nullptr;
    ~StatementGuard() { sqlite3_finalize(stmt); }
};

QString cellText(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
        return floatText(sqlite3_column_double(stmt, column));
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        return binaryText(QByteArray::fromRawData(bytes, sqlite3_column_bytes(stmt, column)));
    }
    default: {
        // The file keeps UTF-8: read it as it is, rather than have SQLite translate every
        // value into a UTF-16 buffer of its own first.
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        const int bytes = sqlite3_column_bytes(stmt, column);
        return dateTimeText(QString::fromUtf8(text, bytes));
    }
    }
}

// An insert, update or delete: the statements whose changed rows sqlite3_changes counts (any
// other keeps the count of the one before).
bool changesRows(sqlite3_stmt* stmt)
{
    if (sqlite3_stmt_readonly(stmt))
        return false;
    const QByteArray sql = QByteArray(sqlite3_sql(stmt)).trimmed().left(8).toUpper();
    return sql.startsWith("DELETE") || sql.startsWith("INSERT") || sql.startsWith("UPDATE") ||
           sql.startsWith("REPLACE");
}

} // namespace

SqliteConnection::SqliteConnection(QString file, int busyTimeoutMs)
    : m_file(std::move(file)), m_busyTimeoutMs(busyTimeoutMs)
{
}

SqliteConnection::~SqliteConnection()
{
    DbDiagnostics ignored;
    close(ignored);
}

bool SqliteConnection::close(DbDiagnostics&)
{
    // sqlite3_close_v2 defers the close while statements are alive; none are kept between calls.
    // Closing rolls back an open transaction.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    return true;
}

DbDiagnostic SqliteConnection::lastError() const
{
    if (!m_db)
        return {SQLITE_MISUSE, QStringLiteral("데이터베이스가 열려 있지 않습니다"), QString()};
    return {sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)).trimmed(),
            QString()};
}

bool SqliteConnection::open(DbDiagnostics& errors)
{
    close(errors);
    // Opening never creates: a missing demo file is an error here, not a new empty database.
    const QByteArray path = QFileInfo(m_file).absoluteFilePath().toUtf8();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        errors.push_back({db ? sqlite3_extended_errcode(db) : rc,
                          QString::fromUtf8(message) + QStringLiteral(": ") + m_file, QString()});
        sqlite3_close_v2(db);
        return false;
    }
    m_db = db;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, m_busyTimeoutMs);
    // A file that is not a database opens fine and fails only at its first read.
    if (!runPlain("SELECT count(*) FROM sqlite_master", errors)) {
        close(errors);
        return false;
    }
    return true;
}

bool SqliteConnection::runPlain(const char* sql, DbDiagnostics& errors)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    errors.push_back(lastError());
    return false;
}

bool SqliteConnection::runStatements(const QString& sql, TextTable* result, DbDiagnostics& errors,
                                     qint64* affectedRows)
{
    const auto* next = reinterpret_cast<const char16_t*>(sql.utf16());
    const char16_t* const end = next + sql.size();
    bool captured = false;
    while (next < end) {
        StatementGuard guard;
        const void* tail = nullptr;
        const int bytes = int((end - next) * sizeof(char16_t));
        if (sqlite3_prepare16_v2(m_db, next, bytes, &guard.stmt, &tail) != SQLITE_OK) {
            errors.push_back(lastError());
            return false;
        }
        next = tail ? static_cast<const char16_t*>(tail) : end;
        if (!guard.stmt) // blanks or a comment
            continue;
        const int columns = sqlite3_column_count(guard.stmt);
        const bool capture = result && !captured && columns > 0;
        if (capture) {
            result->reset(1, columns);
            for (int c = 0; c < columns; ++c) {
                const auto* name =
                    static_cast<const char16_t*>(sqlite3_column_name16(guard.stmt, c));
                if (name)
                    result->setCell(0, c, QStringView(name));
            }
            captured = true;
        }
        int rc;
        while ((rc = sqlite3_step(guard.stmt)) == SQLITE_ROW) {
            if (!capture)
                continue;
            result->appendRow();
            const int row = result->rowCount() - 1;
            for (int c = 0; c < columns; ++c)
                result->setCell(row, c, cellText(guard.stmt, c));
        }
        if (rc != SQLITE_DONE) {
            errors.push_back(lastError());
            return false;
        }
        if (affectedRows && changesRows(guard.stmt))
            *affectedRows += sqlite3_changes64(m_db);
    }
    if (result && !captured)
        result->reset(1, 0);
    return true;
}

bool SqliteConnection::query(const QString& sql, TextTable& result, DbDiagnostics& errors)
{
    if (!m_db) {
        errors.push_back(lastError());
        return false;
    }
    return runStatements(sql, &result, errors);
}

bool SqliteConnection::execute(const QString& sql, DbDiagnostics& errors, bool* outcomeUnknown)
{
    // A failed COMMIT leaves the transaction open and is rolled back below (or by the reopen):
    // SQLite always knows.
    if (outcomeUnknown)
        *outcomeUnknown = false;
    if (!m_db) {
        errors.push_back(lastError());
        return false;
    }
    if (!runPlain("BEGIN", errors)) {
        endFailedTransaction(errors);
        return false;
    }
    if (runStatements(sql, nullptr, errors) && runPlain("COMMIT", errors))
        return true;
    endFailedTransaction(errors);
    return false;
}

bool SqliteConnection::endFailedTransaction(DbDiagnostics& errors)
{
    // SQLite may have rolled back by itself (for example after a full disk); then nothing is open.
    if (sqlite3_get_autocommit(m_db))
        return true;
    DbDiagnostics rollbackErrors;
    if (runPlain("ROLLBACK", rollbackErrors) && sqlite3_get_autocommit(m_db))
        return true;
    // The transaction cannot be ended: start over on a fresh connection, which drops it.
    errors.insert(errors.end(), rollbackErrors.begin(), rollbackErrors.end());
    DbDiagnostics reopenErrors;
    if (!open(reopenErrors))
        errors.insert(errors.end(), reopenErrors.begin(), reopenErrors.end());
    return false;
}

namespace {

// A text column declared as a date or time holds a date-time; the rest are plain texts.
bool declaredDateTime(sqlite3_stmt* stmt, int column)
{
    const char* declared = sqlite3_column_decltype(stmt, column);
    if (!declared)
        return false;
    const QByteArray type = QByteArray(declared).toUpper();
    return type.contains("DATE") || type.contains("TIME");
}

// Whether bytes are UTF-8 that reads back byte for byte: no overlong form, no surrogate, nothing
// past U+10FFFF.
bool isUtf8(const char* text, int bytes)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; i < bytes;) {
        char32_t c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        const int length = (c & 0xE0) == 0xC0   ? 2
                           : (c & 0xF0) == 0xE0 ? 3
                           : (c & 0xF8) == 0xF0 ? 4
                                                : 0;
        if (length == 0 || i + length > bytes)
            return false;
        c &= 0x7F >> length;
        for (int k = 1; k < length; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (s[i + k] & 0x3F);
        }
        constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

DbValue typedValue(sqlite3_stmt* stmt, int column, bool dateTime)
{
    DbValue v;
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        break;
    case SQLITE_INTEGER:
        v.type = DbValueType::Integer;
        v.text = QString::number(sqlite3_column_int64(stmt, column));
        break;
    case SQLITE_FLOAT:
        v.type = DbValueType::Float;
        v.number = sqlite3_column_double(stmt, column);
        break;
    case SQLITE_BLOB: {
        v.type = DbValueType::Binary;
        const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        v.bytes = QByteArray(data, sqlite3_column_bytes(stmt, column));
        break;
    }
    default: {
        v.type = dateTime ? DbValueType::DateTime : DbValueType::Text;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        const int bytes = sqlite3_column_bytes(stmt, column);
        // Bytes that are not UTF-8 would read as U+FFFD: they are kept as they are stored.
        if (isUtf8(text, bytes)) {
            // fromUtf8 drops a byte-order mark at the start, which is part of the value here.
            int marks = 0;
            while (bytes - 3 * marks >= 3 && QByteArrayView(text + 3 * marks, 3) == "\xEF\xBB\xBF")
                ++marks;
            v.text = QString(marks, QChar(0xFEFF)) +
                     QString::fromUtf8(text + 3 * marks, bytes - 3 * marks);
        } else {
            v.type = DbValueType::TextBytes;
            v.bytes = QByteArray(text, bytes);
            v.text.clear();
        }
        break;
    }
    }
    return v;
}

} // namespace

bool SqliteConnection::beginTransaction(bool immediate, DbDiagnostics& errors)
{
    if (!m_db) {
        errors.push_back(lastError());
        return false;
    }
    return runPlain(immediate ? "BEGIN IMMEDIATE" : "BEGIN", errors);
}

bool SqliteConnection::readRows(const QString& sql, const DbRowReader& reader,
                                DbDiagnostics& errors)
{
    StatementGuard guard;
    if (sqlite3_prepare16_v2(m_db, sql.utf16(), int(sql.size() * sizeof(char16_t)), &guard.stmt,
                             nullptr) != SQLITE_OK) {
        errors.push_back(lastError());
        return false;
    }
    if (!guard.stmt)
        return true;
    const int count = sqlite3_column_count(guard.stmt);
    std::vector<DbColumn> columns(static_cast<size_t>(count));
    std::vector<bool> dateTimes(static_cast<size_t>(count));
    for (int c = 0; c < count; ++c) {
        dateTimes[size_t(c)] = declaredDateTime(guard.stmt, c);
        const auto* name = static_cast<const char16_t*>(sqlite3_column_name16(guard.stmt, c));
        columns[size_t(c)].name = name ? QString::fromUtf16(name) : QString();
    }
    std::vector<DbValue> row(static_cast<size_t>(count));
    int rc;
    while ((rc = sqlite3_step(guard.stmt)) == SQLITE_ROW) {
        for (int c = 0; c < count; ++c)
            row[size_t(c)] = typedValue(guard.stmt, c, dateTimes[size_t(c)]);
        if (!reader(columns, row)) {
            errors.push_back({-1, DbTexts::rowReadStopped, QString()});
            return false;
        }
    }
    if (rc != SQLITE_DONE) {
        errors.push_back(lastError());
        return false;
    }
    return true;
}

bool SqliteConnection::executeInTransaction(const QString& sql, DbDiagnostics& errors,
                                            qint64* affectedRows)
{
    if (affectedRows)
        *affectedRows = 0;
    if (!m_db) {
        errors.push_back(lastError());
        return false;
    }
    return runStatements(sql, nullptr, errors, affectedRows);
}

bool SqliteConnection::commit(DbDiagnostics& errors, bool& outcomeUnknown)
{
    outcomeUnknown = false;
    if (m_db && runPlain("COMMIT", errors))
        return true;
    if (m_db)
        endFailedTransaction(errors);
    return false;
}

void SqliteConnection::rollback(DbDiagnostics& errors)
{
    if (m_db)
        endFailedTransaction(errors);
}
