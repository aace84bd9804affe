#include "support/FixtureDatabase.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h> // before the ODBC headers
#endif
#include "db/OdbcApi.h"

FixtureDatabase::FixtureDatabase(const DemoSize& size)
{
    if (!m_dir.isValid()) {
        m_error = m_dir.errorString();
        return;
    }
    m_path = m_dir.filePath(QStringLiteral("pos.sqlite"));
    m_valid = createDemoDatabase(m_path, size, &m_error);
}

QString sqliteOdbcDriver()
{
    static const QString name = [] {
        // Debian registers the driver as "SQLite3", its Windows installer as "SQLite3 ODBC Driver".
        const QStringList known{QStringLiteral("SQLite3"), QStringLiteral("SQLite3 ODBC Driver")};
        SQLHENV env = SQL_NULL_HENV;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
            return known.front();
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        QString found = known.front();
        SQLWCHAR driver[256], attributes[1024];
        SQLSMALLINT driverLength = 0, attributesLength = 0;
        for (SQLUSMALLINT direction = SQL_FETCH_FIRST; SQL_SUCCEEDED(SQLDriversW(
                 env, direction, driver, 256, &driverLength, attributes, 1024, &attributesLength));
             direction = SQL_FETCH_NEXT) {
            const QString name = QString::fromUtf16(reinterpret_cast<const char16_t*>(driver));
            if (known.contains(name))
                found = name;
        }
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        return found;
    }();
    return name;
}

QString firstValue(Mod_DB& db, const QString& sql)
{
    TextTable t;
    qint32 rows = 0, columns = 0;
    const DbOutcome outcome = db.DB_Query(sql, t, rows, columns);
    EXPECT_TRUE(outcome.succeeded) << sql.toStdString() << ": " << outcome.error.toStdString();
    return outcome.succeeded && rows > 0 ? t.cell(1, 0) : QString();
}

bool isFoodCatalog(Mod_DB& db)
{
    return firstValue(db, QStringLiteral("SELECT DB_NAME()"))
               .compare(QLatin1String("food"), Qt::CaseInsensitive) == 0;
}

QString mssqlTestDatabaseRefusal(Mod_DB& db)
{
    if (qEnvironmentVariable("SWEEP_TEST_MSSQL_DISPOSABLE") == QLatin1String("1") ||
        !isFoodCatalog(db))
        return QString();
    return QStringLiteral("refusing to replace the tables of FOOD, the shop's catalog: connect to "
                          "SWEEP_TEST or set SWEEP_TEST_MSSQL_DISPOSABLE=1 on a throwaway server");
}

QString FixtureDatabase::odbcConnectionString() const
{
    return QStringLiteral("DRIVER={%1};Database=%2").arg(sqliteOdbcDriver(), m_path);
}

namespace {

std::unique_ptr<Mod_DB> connected(const DbTarget& target, const QString& creationError)
{
    auto db = std::make_unique<Mod_DB>(target);
    if (!creationError.isEmpty())
        ADD_FAILURE() << "fixture database: " << creationError.toStdString();
    else if (!db->DB_Connect())
        ADD_FAILURE() << "DB_Connect to the fixture database failed: "
                      << db->DB_ErrText().toStdString();
    return db;
}

} // namespace

std::unique_ptr<Mod_DB> FixtureDatabase::connect() const
{
    return connected(DbTarget::sqlite(m_path), m_valid ? QString() : m_error);
}

std::unique_ptr<Mod_DB> FixtureDatabase::connectOdbc() const
{
    return connected(DbTarget::odbc(odbcConnectionString(), Dialect::Sqlite),
                     m_valid ? QString() : m_error);
}
