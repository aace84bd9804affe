#pragma once

#include "db/Mod_DB.h"
#include "demo/DemoDatabase.h"
#include "support/QueryText.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// The name the SQLite ODBC driver is registered under here.
QString sqliteOdbcDriver();

// Whether the SQL Server database db is connected to is FOOD, the shop's catalog.
bool isFoodCatalog(Mod_DB& db);
// Why the SQL Server tests must not fill that database with the demo tables (empty when they
// may): FOOD only when SWEEP_TEST_MSSQL_DISPOSABLE=1 declares the server a throwaway one.
QString mssqlTestDatabaseRefusal(Mod_DB& db);

// A demo POS database in a temporary folder, removed with the object. Every test that needs
// one makes its own, so tests never see each other's deletes.
class FixtureDatabase
{
public:
    explicit FixtureDatabase(const DemoSize& size = {});

    // False (with error()) when the file could not be made; connect() then fails too.
    bool isValid() const { return m_valid; }
    const QString& error() const { return m_error; }
    const QString& path() const { return m_path; }

    // The same file through the SQLite ODBC driver, as the ODBC backend sees it.
    QString odbcConnectionString() const;

    // A Mod_DB on this file, already connected; a failed connect ends the test as failed.
    std::unique_ptr<Mod_DB> connect() const;
    std::unique_ptr<Mod_DB> connectOdbc() const;

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
    bool m_valid = false;
};
