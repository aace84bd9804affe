#pragma once

#include "db/DbConnection.h"

struct sqlite3;
struct sqlite3_stmt;

// The embedded demo database through SQLite's C API. A statement text is walked statement by
// statement with sqlite3_prepare16_v2, so a batch separates its statements with ';'.
class SqliteConnection : public DbConnection
{
public:
    explicit SqliteConnection(QString file, int busyTimeoutMs = defaultBusyTimeoutMs);
    ~SqliteConnection() override;

    Dialect dialect() const override { return Dialect::Sqlite; }
    bool open(DbDiagnostics& errors) override;
    bool isOpen() const override { return m_db != nullptr; }
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

    // How long a statement waits for another process's lock before it fails.
    static constexpr int defaultBusyTimeoutMs = 5000;

private:
    DbDiagnostic lastError() const;
    bool runPlain(const char* sql, DbDiagnostics& errors);
    bool endFailedTransaction(DbDiagnostics& errors);
    // Steps every statement of sql; the first one with result columns is copied into result
    // when result is given.
    bool runStatements(const QString& sql, TextTable* result, DbDiagnostics& errors,
                       qint64* affectedRows = nullptr);

    QString m_file;
    int m_busyTimeoutMs;
    sqlite3* m_db = nullptr;
};
