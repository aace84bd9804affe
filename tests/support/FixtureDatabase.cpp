#include "support/FixtureDatabase.h"

#include <stdexcept>

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
    // The name Debian's package registers, and the one its Windows installer does.
#ifdef _WIN32
    return QStringLiteral("SQLite3 ODBC Driver");
#else
    return QStringLiteral("SQLite3");
#endif
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

// A test cannot go on without its database. An assertion in a helper ends only the helper, so
// the failure is thrown: GoogleTest reports it and ends the test, or the fixture being built.
std::unique_ptr<Mod_DB> connected(const DbTarget& target, const QString& creationError)
{
    if (!creationError.isEmpty())
        throw std::runtime_error("fixture database: " + creationError.toStdString());
    auto db = std::make_unique<Mod_DB>(target);
    if (!db->DB_Connect())
        throw std::runtime_error("DB_Connect to the fixture database failed: " +
                                 db->DB_ErrText().toStdString());
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
