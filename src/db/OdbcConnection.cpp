#include "db/OdbcConnection.h"

#include "db/OdbcApi.h"
#include "db/ScriptSplitter.h"

#include <QRegularExpression>
#include <algorithm>
#include <utility>
#include <vector>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "SQLWCHAR must be UTF-16");

namespace {

const SQLWCHAR* wide(const QString& text)
{
    return reinterpret_cast<const SQLWCHAR*>(text.utf16());
}

// The length a call reported, cut at the terminator: unixODBC reports the byte length of the
// narrow text when it converts for a narrow driver, which is too long for Korean.
qsizetype textLength(const std::vector<SQLWCHAR>& buffer, SQLSMALLINT reported)
{
    const qsizetype limit =
        qMin<qsizetype>(qMax<SQLSMALLINT>(reported, 0), qsizetype(buffer.size()) - 1);
    for (qsizetype i = 0; i < limit; ++i) {
        if (buffer[size_t(i)] == 0)
            return i;
    }
    return limit;
}

bool succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// Every diagnostic record of a handle, in the order the driver keeps them.
void readDiagnostics(SQLSMALLINT type, SQLHANDLE handle, DbDiagnostics& out)
{
    if (!handle)
        return;
    std::vector<SQLWCHAR> message(1024);
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(type, handle, record, state, &native, message.data(),
                                      SQLSMALLINT(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(message.size())) {
            message.resize(size_t(length) + 1);
            rc = SQLGetDiagRecW(type, handle, record, state, &native, message.data(),
                                SQLSMALLINT(message.size()), &length);
        }
        if (!succeeded(rc))
            break;
        const qsizetype chars = textLength(message, length);
        out.push_back({qint32(native),
                       QString::fromUtf16(reinterpret_cast<const char16_t*>(message.data()), chars),
                       QString::fromUtf16(reinterpret_cast<const char16_t*>(state), 5)});
    }
}

// A failed call whose handle said nothing still needs a line in the error text.
void failure(SQLSMALLINT type, SQLHANDLE handle, const char* call, DbDiagnostics& out)
{
    const size_t before = out.size();
    readDiagnostics(type, handle, out);
    if (out.size() == before)
        out.push_back(
            {-1, QStringLiteral("%1 실패").arg(QLatin1String(call)), QStringLiteral("HY000")});
}

// A call's outcome. SQL_SUCCESS_WITH_INFO counts as a failure when a record says more than a
// warning: a batch whose middle statement failed while the others ran may answer that way.
bool passed(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* call,
            DbDiagnostics& errors)
{
    if (rc == SQL_SUCCESS)
        return true;
    if (rc == SQL_SUCCESS_WITH_INFO) {
        DbDiagnostics said;
        readDiagnostics(type, handle, said);
        if (std::all_of(said.begin(), said.end(),
                        [](const DbDiagnostic& d) { return d.isWarning(); }))
            return true;
        errors.insert(errors.end(), said.begin(), said.end());
        return false;
    }
    failure(type, handle, call, errors);
    return false;
}

// The states of a commit whose answer was lost with the connection.
bool commitOutcomeLost(const DbDiagnostic& d)
{
    return d.state == QLatin1String("08S01") || d.state == QLatin1String("08007") ||
           d.state == QLatin1String("40003");
}

enum class ValueKind
{
    Text,
    Temporal,
    Decimal,
    Float,
    Binary,
};

// SQL Server's own time types, which ODBC's headers do not name.
constexpr SQLSMALLINT SQL_SS_TIME2 = -154;
constexpr SQLSMALLINT SQL_SS_TIMESTAMPOFFSET = -155;

ValueKind kindOf(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_DATE:
    case SQL_TYPE_TIME:
    case SQL_TIME:
    case SQL_SS_TIME2:
    case SQL_SS_TIMESTAMPOFFSET:
        return ValueKind::Temporal;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return ValueKind::Decimal;
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
        return ValueKind::Float;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return ValueKind::Binary;
    default:
        return ValueKind::Text;
    }
}

// The Windows {SQL Server} driver predates date, time, datetime2 and datetimeoffset and describes
// them as text; only the type's name tells.
bool isTemporalTypeName(SQLHSTMT stmt, SQLUSMALLINT column)
{
    SQLWCHAR name[32] = {};
    SQLSMALLINT bytes = 0;
    if (!succeeded(SQLColAttributeW(stmt, column, SQL_DESC_TYPE_NAME, name,
                                    SQLSMALLINT(sizeof name), &bytes, nullptr)))
        return false;
    const QString type = QString::fromUtf16(reinterpret_cast<const char16_t*>(name)).toLower();
    return type == QLatin1String("date") || type == QLatin1String("time") ||
           type == QLatin1String("datetime2") || type == QLatin1String("datetimeoffset");
}

// A date, time or date-time as drivers give it in text ("2024-06-14 13:40:12.1230000 +09:00",
// "13:40:12.1230000", "2024-06-14"): without fraction and offset, as every other date-time.
QString temporalText(const QString& text)
{
    if (text.size() == 19 || text.size() == 10)
        return text;
    static const QRegularExpression form(QStringLiteral(
        R"(^(\d{4}-\d\d-\d\d(?: \d\d:\d\d:\d\d)?|\d\d:\d\d:\d\d)(?:\.\d*)?(?: ?[+-]\d\d:\d\d)?$)"));
    const QRegularExpressionMatch m = form.match(text);
    return m.hasMatch() ? m.captured(1) : text;
}

// Reads one column of the current row piece by piece as cType, handing each piece's bytes to
// append: a driver hands back at most a buffer's worth per call and says so with 01004 until the
// value is complete. terminator is the size of the terminator the driver puts after text.
template <typename Append>
bool readPieces(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT cType,
                std::vector<SQLWCHAR>& buffer, SQLLEN terminator, bool& isNull,
                DbDiagnostics& errors, Append&& append)
{
    isNull = false;
    const SQLLEN bytes = SQLLEN(buffer.size() * sizeof(SQLWCHAR));
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(stmt, column, cType, buffer.data(), bytes, &indicator);
        if (rc == SQL_NO_DATA)
            return true;
        if (!succeeded(rc)) {
            failure(SQL_HANDLE_STMT, stmt, "SQLGetData", errors);
            return false;
        }
        if (indicator == SQL_NULL_DATA) {
            isNull = true;
            return true;
        }
        const auto* data = reinterpret_cast<const char*>(buffer.data());
        if (rc == SQL_SUCCESS_WITH_INFO &&
            (indicator == SQL_NO_TOTAL || indicator > bytes - terminator)) {
            append(data, bytes - terminator);
            continue;
        }
        append(data, indicator);
        return true;
    }
}

QString shaped(QString text, ValueKind kind)
{
    switch (kind) {
    case ValueKind::Temporal:
        return temporalText(text);
    case ValueKind::Decimal:
        return decimalText(text);
    case ValueKind::Float: {
        bool ok = false;
        const double v = text.toDouble(&ok);
        return ok ? floatText(v) : text;
    }
    case ValueKind::Text:
    case ValueKind::Binary:
        break;
    }
    return text;
}

// Frees the statement handle whatever way the caller leaves.
struct StatementGuard
{
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    ~StatementGuard()
    {
        if (stmt)
            SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    }
};

// Sends sql on a new statement of dbc; rc is the server's answer. False when no statement could be
// made ready, and then nothing was sent.
bool execDirect(SQLHDBC dbc, StatementGuard& guard, const QString& sql, SQLRETURN& rc,
                DbDiagnostics& errors)
{
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &guard.stmt))) {
        guard.stmt = SQL_NULL_HSTMT;
        failure(SQL_HANDLE_DBC, dbc, "SQLAllocHandle", errors);
        return false;
    }
    // No statement time-out, whatever a driver's configuration says (FreeTDS's freetds.conf
    // "timeout"): an index rebuild, or the copy before a delete, must never be cut by a clock.
    if (!passed(
            SQLSetStmtAttr(guard.stmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(0), 0),
            SQL_HANDLE_STMT, guard.stmt, "SQLSetStmtAttr(SQL_ATTR_QUERY_TIMEOUT)", errors))
        return false;
    QString text = sql;
    rc = SQLExecDirectW(guard.stmt, const_cast<SQLWCHAR*>(wide(text)), SQLINTEGER(text.size()));
    return true;
}

// One column's name (in name, length characters) and SQL type; a long name is read again whole.
bool describeColumn(SQLHSTMT stmt, SQLSMALLINT c, std::vector<SQLWCHAR>& name, SQLSMALLINT& length,
                    SQLSMALLINT& type, DbDiagnostics& errors)
{
    SQLSMALLINT digits = 0, nullable = 0;
    SQLULEN size = 0;
    SQLRETURN rc = SQLDescribeColW(stmt, SQLUSMALLINT(c + 1), name.data(), SQLSMALLINT(name.size()),
                                   &length, &type, &size, &digits, &nullable);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(name.size())) {
        name.resize(size_t(length) + 1);
        rc = SQLDescribeColW(stmt, SQLUSMALLINT(c + 1), name.data(), SQLSMALLINT(name.size()),
                             &length, &type, &size, &digits, &nullable);
    }
    if (succeeded(rc))
        return true;
    failure(SQL_HANDLE_STMT, stmt, "SQLDescribeColW", errors);
    return false;
}

bool readResult(SQLHSTMT stmt, SQLSMALLINT columns, TextTable& result, DbDiagnostics& errors)
{
    result.reset(1, columns);
    std::vector<ValueKind> kinds(size_t(columns), ValueKind::Text);
    std::vector<SQLWCHAR> name(256);
    for (SQLSMALLINT c = 0; c < columns; ++c) {
        SQLSMALLINT length = 0, type = 0;
        if (!describeColumn(stmt, c, name, length, type, errors))
            return false;
        const qsizetype chars = textLength(name, length);
        result.setCell(0, c, QStringView(reinterpret_cast<const char16_t*>(name.data()), chars));
        ValueKind kind = kindOf(type);
        const bool text =
            type == SQL_CHAR || type == SQL_VARCHAR || type == SQL_WCHAR || type == SQL_WVARCHAR;
        if (text && isTemporalTypeName(stmt, SQLUSMALLINT(c + 1)))
            kind = ValueKind::Temporal;
        kinds[size_t(c)] = kind;
    }
    std::vector<SQLWCHAR> buffer(4096);
    QString value;
    QByteArray bytes;
    for (;;) {
        const SQLRETURN rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA)
            return true;
        if (!succeeded(rc)) {
            failure(SQL_HANDLE_STMT, stmt, "SQLFetch", errors);
            return false;
        }
        result.appendRow();
        const int row = result.rowCount() - 1;
        for (SQLSMALLINT c = 0; c < columns; ++c) {
            bool isNull = false;
            const SQLUSMALLINT column = SQLUSMALLINT(c + 1);
            // Binary values are read as bytes: read as text, FreeTDS puts a U+0000 into every
            // piece of their hexadecimal form.
            if (kinds[size_t(c)] == ValueKind::Binary) {
                bytes.clear();
                if (!readPieces(stmt, column, SQL_C_BINARY, buffer, 0, isNull, errors,
                                [&](const char* data, SQLLEN n) { bytes.append(data, n); }))
                    return false;
                if (!isNull)
                    result.setCell(row, c, binaryText(bytes));
                continue;
            }
            value.clear();
            if (!readPieces(stmt, column, SQL_C_WCHAR, buffer, sizeof(SQLWCHAR), isNull, errors,
                            [&](const char* data, SQLLEN n) {
                                value.append(QStringView(reinterpret_cast<const char16_t*>(data),
                                                         qsizetype(n) / 2));
                            }))
                return false;
            if (!isNull)
                result.setCell(row, c, shaped(value, kinds[size_t(c)]));
        }
    }
}

} // namespace

OdbcConnection::OdbcConnection(QString connectionString, Dialect dialect)
    : m_connectionString(std::move(connectionString)), m_dialect(dialect)
{
}

OdbcConnection::~OdbcConnection()
{
    // Nothing can be done later: a connection that does not end here ends with the process, and
    // the server rolls back what it still holds.
    DbDiagnostics ignored;
    close(ignored);
}

bool OdbcConnection::close(DbDiagnostics& errors)
{
    if (m_dbc) {
        // Disconnecting inside a transaction fails (25000) and leaves the transaction open.
        if (m_manualCommit || m_stale) {
            DbDiagnostics rollbackErrors;
            if (!rollBack(rollbackErrors))
                errors.insert(errors.end(), rollbackErrors.begin(), rollbackErrors.end());
        }
        // A connection that could not be ended is kept: freeing a connected handle fails (HY010),
        // and forgetting it would leave its transaction's locks to the server until we exit.
        if (!passed(SQLDisconnect(m_dbc), SQL_HANDLE_DBC, m_dbc, "SQLDisconnect", errors)) {
            // 01002 ("disconnect error") is a warning: the disconnect happened.
            m_stale = true;
            return false;
        }
        if (!succeeded(SQLFreeHandle(SQL_HANDLE_DBC, m_dbc))) {
            failure(SQL_HANDLE_DBC, m_dbc, "SQLFreeHandle", errors);
            return false;
        }
        m_dbc = nullptr;
        m_manualCommit = false;
        m_stale = false;
    }
    if (m_env) {
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
        m_env = nullptr;
    }
    return true;
}

bool OdbcConnection::open(DbDiagnostics& errors)
{
    // Never a second connection beside one that may still hold locks.
    if (!close(errors))
        return false;
    SQLHENV env = SQL_NULL_HENV;
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
        errors.push_back(
            {-1, QStringLiteral("ODBC 환경을 만들 수 없습니다"), QStringLiteral("HY000")});
        return false;
    }
    m_env = env;
    if (!succeeded(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION,
                                 reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
        failure(SQL_HANDLE_ENV, env, "SQLSetEnvAttr", errors);
        close(errors);
        return false;
    }
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        failure(SQL_HANDLE_ENV, env, "SQLAllocHandle", errors);
        close(errors);
        return false;
    }
    SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(SQLULEN(loginTimeoutSeconds)), 0);
    QString connStr = m_connectionString;
    const SQLRETURN rc = SQLDriverConnectW(dbc, nullptr, const_cast<SQLWCHAR*>(wide(connStr)),
                                           SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    DbDiagnostics said;
    readDiagnostics(SQL_HANDLE_DBC, dbc, said);
    // Servers greet with notices ("Changed database context to ...", state 01000); those are
    // not failures. Anything above a warning is, even when the call itself succeeded.
    bool failed = !succeeded(rc);
    for (const DbDiagnostic& d : said)
        failed = failed || !d.isWarning();
    if (failed) {
        if (said.empty())
            failure(SQL_HANDLE_DBC, dbc, "SQLDriverConnectW", said);
        errors.insert(errors.end(), said.begin(), said.end());
        if (succeeded(rc))
            SQLDisconnect(dbc); // nothing has run on it yet
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        close(errors);
        return false;
    }
    m_dbc = dbc;
    return true;
}

bool OdbcConnection::run(const QString& sql, TextTable* result, DbDiagnostics& errors)
{
    StatementGuard guard;
    SQLRETURN rc = SQL_ERROR;
    if (!execDirect(m_dbc, guard, sql, rc, errors))
        return false;
    const SQLHSTMT stmt = guard.stmt;
    // A first statement that touched no rows answers SQL_NO_DATA, yet the statements after it
    // still have their results waiting.
    if (rc == SQL_NO_DATA)
        rc = SQLMoreResults(stmt);
    bool ok = true;
    bool captured = false;
    // A later statement of a batch reports its failure only when its result is reached, so every
    // result is walked even after a failure: the first failure decides, the rest are read to
    // clear the connection for the rollback.
    // A driver that keeps answering SQL_ERROR must not keep us here, nor fill the error text.
    constexpr int resultsAfterFailure = 1000;
    constexpr size_t recordsKept = 100;
    int afterFailure = 0;
    DbDiagnostics dropped;
    while (rc != SQL_NO_DATA && rc != SQL_INVALID_HANDLE) {
        if (!ok && ++afterFailure > resultsAfterFailure)
            break;
        if (!passed(rc, SQL_HANDLE_STMT, stmt, "SQLExecDirectW",
                    errors.size() < recordsKept ? errors : dropped)) {
            ok = false;
            dropped.clear();
            if (rc != SQL_ERROR && rc != SQL_SUCCESS_WITH_INFO)
                break; // SQL_NEED_DATA or SQL_STILL_EXECUTING: nothing sensible to walk
        } else if (ok && result && !captured) {
            SQLSMALLINT columns = 0;
            if (!succeeded(SQLNumResultCols(stmt, &columns))) {
                failure(SQL_HANDLE_STMT, stmt, "SQLNumResultCols", errors);
                ok = false;
            } else if (columns > 0) {
                captured = true;
                ok = readResult(stmt, columns, *result, errors);
            }
        }
        rc = SQLMoreResults(stmt);
    }
    if (!ok) {
        SQLCancel(stmt);
        return false;
    }
    if (result && !captured)
        result->reset(1, 0);
    return true;
}

namespace {

// False, with the driver manager's own state for it, when there is no connection.
bool connected(SQLHDBC dbc, DbDiagnostics& errors)
{
    if (!dbc)
        errors.push_back(
            {-1, QStringLiteral("데이터베이스에 연결되어 있지 않습니다"), QStringLiteral("08003")});
    return dbc != nullptr;
}

} // namespace

// A connection closed to end an unsure transaction is opened anew before the next work, never
// inside a transaction.
bool OdbcConnection::ready(DbDiagnostics& errors)
{
    return connected(m_dbc, errors) && (!m_stale || open(errors));
}

bool OdbcConnection::query(const QString& sql, TextTable& result, DbDiagnostics& errors)
{
    if (!ready(errors))
        return false;
    if (run(sql, &result, errors))
        return true;
    recover(false, errors);
    return false;
}

bool OdbcConnection::setAutoCommit(bool on, DbDiagnostics& errors)
{
    const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    if (!passed(
            SQLSetConnectAttr(m_dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value), 0),
            SQL_HANDLE_DBC, m_dbc, "SQLSetConnectAttr(SQL_ATTR_AUTOCOMMIT)", errors))
        return false;
    m_manualCommit = !on;
    return true;
}

bool OdbcConnection::endTransaction(bool commit, DbDiagnostics& errors)
{
    return passed(SQLEndTran(SQL_HANDLE_DBC, m_dbc, commit ? SQL_COMMIT : SQL_ROLLBACK),
                  SQL_HANDLE_DBC, m_dbc,
                  commit ? "SQLEndTran(SQL_COMMIT)" : "SQLEndTran(SQL_ROLLBACK)", errors);
}

bool OdbcConnection::rollBack(DbDiagnostics& errors)
{
    if (endTransaction(false, errors))
        return true;
    if (m_dialect == Dialect::SqlServer)
        return run(QStringLiteral("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION"), nullptr, errors);
    // The SQLite driver keeps its own note of the transaction it began and ends it itself when
    // auto-commit comes back on, so an empty one takes the place of the one rolled back.
    return run(QStringLiteral("ROLLBACK"), nullptr, errors) &&
           run(QStringLiteral("BEGIN"), nullptr, errors);
}

bool OdbcConnection::execute(const QString& sql, DbDiagnostics& errors, bool* outcomeUnknown)
{
    if (outcomeUnknown)
        *outcomeUnknown = false;
    if (!ready(errors))
        return false;
    // Queries run in auto-commit; a statement text gets its own manual-commit transaction.
    if (!setAutoCommit(false, errors)) {
        recover(true, errors);
        return false;
    }
    bool ok = run(sql, nullptr, errors);
    bool commitLost = false;
    if (ok) {
        const size_t before = errors.size();
        ok = endTransaction(true, errors);
        commitLost = !ok && std::any_of(errors.begin() + std::ptrdiff_t(before), errors.end(),
                                        commitOutcomeLost);
    }
    // Switching auto-commit back on commits whatever is open, so it waits for a rollback that
    // is known to have happened; otherwise the connection is closed and opened anew.
    bool ended = ok || rollBack(errors);
    if (outcomeUnknown)
        *outcomeUnknown = commitLost || !ended;
    ended = ended && setAutoCommit(true, errors);
    if (!ended || !ok)
        recover(!ended, errors);
    return ok;
}

void OdbcConnection::recover(bool transactionUnsure, DbDiagnostics& errors)
{
    SQLUINTEGER dead = SQL_CD_FALSE;
    const SQLRETURN rc = SQLGetConnectAttr(m_dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
    if (!transactionUnsure && (!succeeded(rc) || dead != SQL_CD_TRUE))
        return;
    // Closing a connection ends whatever transaction it was in; the next statement starts clean.
    // One that cannot be closed yet stays marked, and the next call tries again.
    m_stale = true;
    DbDiagnostics reopenErrors;
    if (!open(reopenErrors))
        errors.insert(errors.end(), reopenErrors.begin(), reopenErrors.end());
}

namespace {

// The archive's type class: the text read's kind, with whole numbers told apart, and the two
// SQL Server types whose text carries more than a date-time literal kept as their own text.
DbValueType typeClassOf(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
    case SQL_BIT:
        return DbValueType::Integer;
    case SQL_SS_TIME2:
    case SQL_SS_TIMESTAMPOFFSET:
        return DbValueType::Text;
    default:
        break;
    }
    switch (kindOf(sqlType)) {
    case ValueKind::Temporal:
        return DbValueType::DateTime;
    case ValueKind::Decimal:
        return DbValueType::Decimal;
    case ValueKind::Float:
        return DbValueType::Float;
    case ValueKind::Binary:
        return DbValueType::Binary;
    case ValueKind::Text:
        break;
    }
    return DbValueType::Text;
}

// One column of the current row, whole, read piece by piece.
bool readBytes(SQLHSTMT stmt, SQLUSMALLINT column, std::vector<SQLWCHAR>& buffer, QByteArray& value,
               bool& isNull, DbDiagnostics& errors)
{
    value.clear();
    return readPieces(stmt, column, SQL_C_BINARY, buffer, 0, isNull, errors,
                      [&](const char* data, SQLLEN n) { value.append(data, n); });
}

bool readText(SQLHSTMT stmt, SQLUSMALLINT column, std::vector<SQLWCHAR>& buffer, QString& value,
              bool& isNull, DbDiagnostics& errors)
{
    value.clear();
    return readPieces(
        stmt, column, SQL_C_WCHAR, buffer, sizeof(SQLWCHAR), isNull, errors,
        [&](const char* data, SQLLEN n) {
            value.append(QStringView(reinterpret_cast<const char16_t*>(data), qsizetype(n) / 2));
        });
}

bool readDouble(SQLHSTMT stmt, SQLUSMALLINT column, double& value, bool& isNull,
                DbDiagnostics& errors)
{
    SQLLEN indicator = 0;
    if (!succeeded(SQLGetData(stmt, column, SQL_C_DOUBLE, &value, 0, &indicator))) {
        failure(SQL_HANDLE_STMT, stmt, "SQLGetData", errors);
        return false;
    }
    isNull = indicator == SQL_NULL_DATA;
    return true;
}

bool describeTyped(SQLHSTMT stmt, SQLSMALLINT count, std::vector<DbColumn>& columns,
                   std::vector<DbValueType>& types, DbDiagnostics& errors)
{
    std::vector<SQLWCHAR> name(256);
    for (SQLSMALLINT c = 0; c < count; ++c) {
        SQLSMALLINT length = 0, type = 0;
        if (!describeColumn(stmt, c, name, length, type, errors))
            return false;
        DbColumn& column = columns[size_t(c)];
        column.name = QString::fromUtf16(reinterpret_cast<const char16_t*>(name.data()),
                                         textLength(name, length));
        SQLLEN autoNumbered = SQL_FALSE;
        if (succeeded(SQLColAttributeW(stmt, SQLUSMALLINT(c + 1), SQL_DESC_AUTO_UNIQUE_VALUE,
                                       nullptr, 0, nullptr, &autoNumbered)))
            column.identity = autoNumbered == SQL_TRUE;
        types[size_t(c)] = typeClassOf(type);
    }
    return true;
}

} // namespace

bool OdbcConnection::beginTransaction(bool, DbDiagnostics& errors)
{
    // SQL Server takes its locks with the statements (UPDLOCK, HOLDLOCK on the copy); a manual
    // commit is all the transaction needs here. A connection kept open with an unfinished
    // transaction is replaced first, or this commit would end that one too.
    if (!ready(errors))
        return false;
    if (setAutoCommit(false, errors))
        return true;
    recover(true, errors);
    return false;
}

bool OdbcConnection::readRows(const QString& sql, const DbRowReader& reader, DbDiagnostics& errors)
{
    StatementGuard guard;
    SQLRETURN rc = SQL_ERROR;
    if (!execDirect(m_dbc, guard, sql, rc, errors))
        return false;
    const SQLHSTMT stmt = guard.stmt;
    if (rc == SQL_NO_DATA)
        return true;
    if (!succeeded(rc)) {
        failure(SQL_HANDLE_STMT, stmt, "SQLExecDirectW", errors);
        return false;
    }
    SQLSMALLINT count = 0;
    if (!succeeded(SQLNumResultCols(stmt, &count))) {
        failure(SQL_HANDLE_STMT, stmt, "SQLNumResultCols", errors);
        return false;
    }
    std::vector<DbColumn> columns(static_cast<size_t>(count));
    std::vector<DbValueType> types(static_cast<size_t>(count));
    if (!describeTyped(stmt, count, columns, types, errors))
        return false;
    std::vector<DbValue> row(static_cast<size_t>(count));
    std::vector<SQLWCHAR> buffer(4096);
    for (;;) {
        const SQLRETURN fetched = SQLFetch(stmt);
        if (fetched == SQL_NO_DATA)
            break;
        if (!succeeded(fetched)) {
            failure(SQL_HANDLE_STMT, stmt, "SQLFetch", errors);
            SQLCancel(stmt);
            return false;
        }
        for (SQLSMALLINT c = 0; c < count; ++c) {
            DbValue& v = row[size_t(c)];
            const SQLUSMALLINT column = SQLUSMALLINT(c + 1);
            v.type = types[size_t(c)];
            bool isNull = false;
            bool read = false;
            if (v.type == DbValueType::Binary)
                read = readBytes(stmt, column, buffer, v.bytes, isNull, errors);
            else if (v.type == DbValueType::Float)
                read = readDouble(stmt, column, v.number, isNull, errors);
            else
                read = readText(stmt, column, buffer, v.text, isNull, errors);
            if (!read) {
                SQLCancel(stmt);
                return false;
            }
            if (isNull)
                v.type = DbValueType::Null;
        }
        if (!reader(columns, row)) {
            SQLCancel(stmt);
            errors.push_back({-1, QStringLiteral("행 읽기가 중단되었습니다"), QString()});
            return false;
        }
    }
    SQLCloseCursor(stmt);
    return true;
}

bool OdbcConnection::executeInTransaction(const QString& sql, DbDiagnostics& errors)
{
    if (!connected(m_dbc, errors))
        return false;
    if (m_dialect == Dialect::SqlServer)
        return run(sql, nullptr, errors);
    // The SQLite driver takes one statement per call; its dialect separates them with ';'.
    // It also takes a leading comment for a statement of its own.
    ScriptSplitter splitter([&](const QString& statement) {
        return run(ScriptSplitter::code(statement).toString(), nullptr, errors);
    });
    return splitter.feed(sql) && splitter.finish();
}

bool OdbcConnection::commit(DbDiagnostics& errors, bool& outcomeUnknown)
{
    outcomeUnknown = false;
    if (!connected(m_dbc, errors))
        return false;
    const size_t before = errors.size();
    if (endTransaction(true, errors)) {
        if (!setAutoCommit(true, errors))
            recover(true, errors);
        return true; // committed; only the mode switch failed, and the reopen fixed that
    }
    const bool lost =
        std::any_of(errors.begin() + std::ptrdiff_t(before), errors.end(), commitOutcomeLost);
    outcomeUnknown = !endOpenTransaction(errors) || lost;
    return false;
}

void OdbcConnection::rollback(DbDiagnostics& errors)
{
    if (m_dbc)
        endOpenTransaction(errors);
}

bool OdbcConnection::endOpenTransaction(DbDiagnostics& errors)
{
    // Auto-commit comes back on only after a rollback known to have happened: the switch would
    // commit whatever is still open. Otherwise the connection is closed and opened anew.
    const bool ended = rollBack(errors) && setAutoCommit(true, errors);
    if (!ended)
        recover(true, errors);
    return ended;
}
