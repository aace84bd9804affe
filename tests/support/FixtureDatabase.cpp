#include "support/FixtureDatabase.h"

#include <gtest/gtest.h>

FixtureDatabase::FixtureDatabase(const DemoSize& size)
{
    if (!m_dir.isValid()) {
        m_error = m_dir.errorString();
        return;
    }
    m_path = m_dir.filePath(QStringLiteral("pos.sqlite"));
    m_valid = createDemoDatabase(m_path, size, &m_error);
}

QString FixtureDatabase::odbcConnectionString() const
{
    // The name the SQLite ODBC driver is registered under: by Debian's libsqliteodbc, and by
    // the driver's own installer on Windows.
#ifdef _WIN32
    return QStringLiteral("DRIVER={SQLite3 ODBC Driver};Database=") + m_path;
#else
    return QStringLiteral("DRIVER=SQLite3;Database=") + m_path;
#endif
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
