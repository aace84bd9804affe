#pragma once

#include "db/DbConnection.h"

// ODBC handles without dragging the ODBC headers into every includer.
using OdbcHandle = void*;

// A database reached through ODBC (SQL Server through FreeTDS or the Windows driver; the SQLite
// ODBC driver in tests). Uses the wide-character calls, reads text in pieces until it is
// complete, drains and checks every result of a batch and reads every diagnostic record.
class OdbcConnection : public DbConnection
{
public:
    OdbcConnection(QString connectionString, Dialect dialect);
    ~OdbcConnection() override;

    Dialect dialect() const override { return m_dialect; }
    bool open(DbDiagnostics& errors) override;
    bool isOpen() const override { return m_dbc != nullptr; }
    bool query(const QString& sql, TextTable& result, DbDiagnostics& errors) override;
    bool execute(const QString& sql, DbDiagnostics& errors,
                 bool* outcomeUnknown = nullptr) override;
    bool close(DbDiagnostics& errors) override;
    bool beginTransaction(bool immediate, DbDiagnostics& errors) override;
    bool readRows(const QString& sql, const DbRowReader& reader, DbDiagnostics& errors) override;
    bool executeInTransaction(const QString& sql, DbDiagnostics& errors,
                              qint64* affectedRows = nullptr) override;
    bool commit(DbDiagnostics& errors, bool& outcomeUnknown) override;
    void rollback(DbDiagnostics& errors) override;

    static constexpr int loginTimeoutSeconds = 15;

private:
    // Runs sql on a new statement handle and walks every result; the first result with columns
    // is read into result when one is given. False when any part of the batch failed.
    bool run(const QString& sql, TextTable* result, DbDiagnostics& errors,
             qint64* affectedRows = nullptr);
    bool setAutoCommit(bool on, DbDiagnostics& errors);
    // Rolls back the open transaction and returns to auto-commit, reopening the connection when
    // either step fails; false when the rollback cannot be known to have happened.
    bool endOpenTransaction(DbDiagnostics& errors);
    // SQLEndTran: commits, or rolls back, what the connection holds.
    bool endTran(bool commit, DbDiagnostics& errors);
    // Rolls back the open transaction and stays in manual commit: SQLEndTran, and when that
    // fails the dialect's own rollback statement. False when neither could be confirmed.
    bool undoOpenTransaction(DbDiagnostics& errors);
    // A connection that may still hold a transaction it could not end is closed and opened anew
    // before it runs anything else; false when that is not possible yet.
    bool ready(DbDiagnostics& errors);
    // After a failure: a connection that is dead or stuck in a transaction is opened anew.
    void recover(bool transactionUnsure, DbDiagnostics& errors);

    QString m_connectionString;
    Dialect m_dialect;
    OdbcHandle m_env = nullptr;
    OdbcHandle m_dbc = nullptr;
    bool m_manualCommit = false; // auto-commit is off: a transaction may be open
    bool m_stale = false;        // a transaction may be open that could not be ended
};
