#include "db/OdbcConnection.h"

#include "db/OdbcDiagnostics.h"
#include "db/OdbcValues.h"
#include "db/ScriptSplitter.h"

#include <algorithm>
#include <utility>

using namespace odbc;

namespace {

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

// False, with the driver manager's own state for it, when there is no connection.
bool connected(SQLHDBC dbc, DbDiagnostics& errors)
{
    if (!dbc)
        errors.push_back({-1, DbTexts::notConnected, QStringLiteral("08003")});
    return dbc != nullptr;
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
            if (!undoOpenTransaction(rollbackErrors))
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

bool OdbcConnection::run(const QString& sql, TextTable* result, DbDiagnostics& errors,
                         qint64* affectedRows)
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
        } else if (ok && affectedRows && *affectedRows >= 0) {
            SQLLEN rows = -1;
            if (succeeded(SQLRowCount(stmt, &rows)) && rows >= 0)
                *affectedRows += rows;
            else
                *affectedRows = -1;
        } else if (ok && result && !captured) {
            SQLSMALLINT columns = 0;
            if (!succeeded(SQLNumResultCols(stmt, &columns))) {
                failure(SQL_HANDLE_STMT, stmt, "SQLNumResultCols", errors);
                ok = false;
            } else if (columns > 0) {
                captured = true;
                ok = readTextResult(stmt, columns, *result, errors);
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

bool OdbcConnection::endTran(bool commit, DbDiagnostics& errors)
{
    return passed(SQLEndTran(SQL_HANDLE_DBC, m_dbc, commit ? SQL_COMMIT : SQL_ROLLBACK),
                  SQL_HANDLE_DBC, m_dbc,
                  commit ? "SQLEndTran(SQL_COMMIT)" : "SQLEndTran(SQL_ROLLBACK)", errors);
}

bool OdbcConnection::undoOpenTransaction(DbDiagnostics& errors)
{
    if (endTran(false, errors))
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
    bool ok = false;
    bool unknown = false;
    // Queries run in auto-commit; a statement text gets its own manual-commit transaction.
    if (beginTransaction(false, errors)) {
        if (run(sql, nullptr, errors))
            ok = commit(errors, unknown);
        else
            unknown = !endOpenTransaction(errors);
        if (!ok)
            recover(false, errors); // a connection that died under the work is opened anew
    }
    if (outcomeUnknown)
        *outcomeUnknown = unknown;
    return ok;
}

void OdbcConnection::recover(bool transactionUnsure, DbDiagnostics& errors)
{
    // A connection already marked for a new start gets it with the next call.
    if (m_stale && !transactionUnsure)
        return;
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
    ResultColumns columns;
    if (!describeResult(stmt, count, columns, errors))
        return false;
    bool stopped = false;
    const auto take = [&](const std::vector<DbValue>& row) {
        stopped = !reader(columns.columns, row);
        return !stopped;
    };
    if (!fetchRows(stmt, columns, take, errors)) {
        SQLCancel(stmt);
        if (stopped)
            errors.push_back({-1, DbTexts::rowReadStopped, QString()});
        return false;
    }
    SQLCloseCursor(stmt);
    return true;
}

bool OdbcConnection::executeInTransaction(const QString& sql, DbDiagnostics& errors,
                                          qint64* affectedRows)
{
    if (affectedRows)
        *affectedRows = 0;
    if (!connected(m_dbc, errors))
        return false;
    if (m_dialect == Dialect::SqlServer)
        return run(sql, nullptr, errors, affectedRows);
    // The SQLite driver takes one statement per call; its dialect separates them with ';'.
    // It also takes a leading comment for a statement of its own.
    ScriptSplitter splitter([&](const QString& statement) {
        return run(ScriptSplitter::code(statement).toString(), nullptr, errors, affectedRows);
    });
    return splitter.feed(sql) && splitter.finish();
}

bool OdbcConnection::commit(DbDiagnostics& errors, bool& outcomeUnknown)
{
    outcomeUnknown = false;
    if (!connected(m_dbc, errors))
        return false;
    const size_t before = errors.size();
    if (endTran(true, errors)) {
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
    const bool rolledBack = undoOpenTransaction(errors);
    if (!rolledBack || !setAutoCommit(true, errors))
        recover(true, errors);
    return rolledBack;
}
