#pragma once

#include "db/DbConnection.h"
#include "db/Dialect.h"
#include "db/TextTable.h"

#include <QString>
#include <functional>
#include <memory>

// Where DB_Connect goes. The program builds one of these once at start.
struct DbTarget
{
    enum class Kind
    {
        SqlServer, // ODBC; catalog from IP.ini, fixed login (see OdbcConnectionString)
        Odbc,      // ODBC with a ready connection string (tests, integration servers)
        Sqlite,    // the embedded demo database file
    };
    Kind kind = Kind::SqlServer;
    QString iniPath;          // SqlServer: the IP.ini to read DBNAME (and SERVER, DRIVER) from
    QString connectionString; // Odbc: used as it stands
    QString sqliteFile;       // Sqlite: the database file

    static DbTarget sqlServer(const QString& iniPath);
    static DbTarget odbc(const QString& connectionString, Dialect dialect = Dialect::SqlServer);
    static DbTarget sqlite(const QString& file);

    Dialect odbcDialect = Dialect::SqlServer; // Odbc: what the other end speaks
};

// What one DB_Query or DB_Execute came to. error is this call's own text (what DB_ErrText() got
// from it), diagnostics every record the database gave with its number and state.
struct DbOutcome
{
    bool succeeded = false;
    QString error;
    DbDiagnostics diagnostics;
    // The connection went while a commit was under way: whether the change stands is not known.
    bool outcomeUnknown = false;
};

// Which database a connection reaches, as an archive's header names it and a restore compares
// it: the server and catalog of SQL Server, "SQLite" and the absolute file of the demo. Never
// the whole connection string, which holds the password.
struct DatabaseIdentity
{
    QString server;
    QString database;

    bool operator==(const DatabaseIdentity&) const = default;
};

// The one database connection of a process with its last outcome. Nothing here throws or shows
// anything: every failure ends as DB_Status() == 0 with DB_ErrText().
class Mod_DB
{
public:
    explicit Mod_DB(DbTarget target);
    ~Mod_DB();
    Mod_DB(const Mod_DB&) = delete;
    Mod_DB& operator=(const Mod_DB&) = delete;

    // Opens a new connection (releasing an earlier one first); true when it is usable. On failure
    // DB_Status() is 0 and DB_ErrText() holds one "description[number]" line per reason.
    bool DB_Connect();

    // Runs one query. On success table, rows and columns are replaced (rows and columns 0 and a
    // single empty cell for an empty result); on failure they are left exactly as passed and one
    // line "description[number]" per diagnostic record is appended to DB_ErrText().
    DbOutcome DB_Query(const QString& sql, TextTable& table, qint32& rows, qint32& columns);

    // Runs one statement text (possibly a batch) inside one transaction. On failure everything
    // is rolled back and DB_ErrText() becomes "number : description".
    DbOutcome DB_Execute(const QString& sql);

    // Runs work inside one explicit transaction (immediate: other writers are held off from the
    // start) and commits when work returns true; on false, an exception or a failed commit
    // everything is rolled back. DB_Status() and DB_ErrText() end as after DB_Execute.
    using TransactionWork = std::function<bool(DbConnection& conn, DbDiagnostics& errors)>;
    DbOutcome DB_Transaction(bool immediate, const TransactionWork& work);

    qint16 DB_Status() const { return m_status; }
    const QString& DB_ErrText() const { return m_errText; }
    const QString& DB_ConnStr() const { return m_connStr; }
    Dialect dialect() const;
    DatabaseIdentity databaseIdentity() const;
    bool isConnected() const { return m_conn && m_conn->isOpen(); }

private:
    static QString errorLines(const DbDiagnostics& errors);
    bool ensureConnection(DbDiagnostics& errors) const;
    DbOutcome executeOutcome(bool succeeded, DbDiagnostics errors);

    DbTarget m_target;
    QString m_connStr;
    std::unique_ptr<DbConnection> m_conn;
    qint16 m_status = 0;
    QString m_errText;
};
