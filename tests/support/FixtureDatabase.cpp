#include "support/FixtureDatabase.h"

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

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
