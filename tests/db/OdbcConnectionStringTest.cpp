#include "db/OdbcConnectionString.h"
#include "db/Mod_DB.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct ConnectionStringCase
{
    const char* name;
    const char* dbName;
    const char* server;
    const char* driver;
    OdbcPlatform platform;
    const char* expected;
};

class SqlServerConnectionString : public testing::TestWithParam<ConnectionStringCase>
{
};

TEST_P(SqlServerConnectionString, IsBuiltFromCatalogAndOverrides)
{
    const ConnectionStringCase& c = GetParam();
    EXPECT_EQ(sqlServerConnectionString(QString::fromUtf8(c.dbName), QString::fromUtf8(c.server),
                                        QString::fromUtf8(c.driver), c.platform),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SqlServerConnectionString,
    testing::Values(
        ConnectionStringCase{"LinuxDefaults", "FOOD", "", "", OdbcPlatform::Other,
                             "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=FOOD;UID=sa;"
                             "PWD=KQXMRTA4817;ClientCharset=UTF-8"},
        ConnectionStringCase{
            "WindowsDefaults", "FOOD", "", "", OdbcPlatform::Windows,
            "DRIVER={SQL Server};SERVER=(local);DATABASE=FOOD;UID=sa;PWD=KQXMRTA4817"},
        ConnectionStringCase{
            "CatalogLosesOuterBlanksOnly", "  POS DB  ", "", "", OdbcPlatform::Windows,
            "DRIVER={SQL Server};SERVER=(local);DATABASE=POS DB;UID=sa;PWD=KQXMRTA4817"},
        ConnectionStringCase{"KoreanCatalog", "매장DB", "", "", OdbcPlatform::Other,
                             "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=매장DB;UID=sa;"
                             "PWD=KQXMRTA4817;ClientCharset=UTF-8"},
        // A catalog cannot smuggle in another keyword: it is quoted in braces.
        ConnectionStringCase{"CatalogWithSeparatorIsQuoted", "FOOD;UID=x}", "", "",
                             OdbcPlatform::Windows,
                             "DRIVER={SQL Server};SERVER=(local);DATABASE={FOOD;UID=x}}};UID=sa;"
                             "PWD=KQXMRTA4817"},
        ConnectionStringCase{"ServerOverride", "FOOD", " 192.168.0.10 ", "", OdbcPlatform::Other,
                             "DRIVER={FreeTDS};SERVER=192.168.0.10;PORT=1433;DATABASE=FOOD;UID=sa;"
                             "PWD=KQXMRTA4817;ClientCharset=UTF-8"},
        ConnectionStringCase{"NamedInstanceBringsItsOwnPort", "FOOD", "POSPC\\SQLEXPRESS", "",
                             OdbcPlatform::Other,
                             "DRIVER={FreeTDS};SERVER=POSPC\\SQLEXPRESS;DATABASE=FOOD;UID=sa;"
                             "PWD=KQXMRTA4817;ClientCharset=UTF-8"},
        ConnectionStringCase{
            "DriverOverrideInBraces", "FOOD", "", "{ODBC Driver 18 for SQL Server}",
            OdbcPlatform::Other,
            "DRIVER={ODBC Driver 18 for SQL Server};SERVER=127.0.0.1;DATABASE=FOOD;"
            "UID=sa;PWD=KQXMRTA4817"},
        ConnectionStringCase{"DriverOverrideOnWindows", "FOOD", "", "SQL Server Native Client 11.0",
                             OdbcPlatform::Windows,
                             "DRIVER={SQL Server Native Client 11.0};SERVER=(local);DATABASE=FOOD;"
                             "UID=sa;PWD=KQXMRTA4817"}),
    [](const testing::TestParamInfo<ConnectionStringCase>& info) { return info.param.name; });

TEST(SqlServerConnectionStringFromIni, ReadsCatalogServerAndDriverFromTheLocalSection)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));

    // No file: DBNAME defaults to FOOD, and the file now says so.
    EXPECT_EQ(sqlServerConnectionStringFromIni(ini),
              sqlServerConnectionString(QStringLiteral("FOOD"), QString(), QString()));
    EXPECT_TRUE(QFile::exists(ini));

    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    // CP949 for "[로컬ip]"; the keys are ASCII.
    f.write(QByteArray::fromHex("5bb7cec4c369705d") + "\r\nDBNAME=  POS2  \r\nSERVER=10.1.2.3\r\n");
    f.close();
    EXPECT_EQ(
        sqlServerConnectionStringFromIni(ini),
        sqlServerConnectionString(QStringLiteral("POS2"), QStringLiteral("10.1.2.3"), QString()));
}

TEST(SqlServerConnectionStringFromIni, DbConnectKeepsTheStringAndFailsCleanlyWithoutAServer)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // Port 9 (discard) on the loopback: nothing answers there.
    f.write(QByteArray::fromHex("5bb7cec4c369705d") +
            "\r\nDBNAME= FOOD \r\nSERVER=127.0.0.1,9\r\n");
    f.close();

    Mod_DB db(DbTarget::sqlServer(ini));
    EXPECT_EQ(db.dialect(), Dialect::SqlServer);
    EXPECT_FALSE(db.DB_Connect());
    EXPECT_FALSE(db.isConnected());
    EXPECT_EQ(db.DB_ConnStr(), sqlServerConnectionString(QStringLiteral("FOOD"),
                                                         QStringLiteral("127.0.0.1,9"), QString()));
    EXPECT_EQ(db.DB_Status(), 0);
    EXPECT_FALSE(db.DB_ErrText().isEmpty());
    db.DB_Execute(QStringLiteral("delete from ac_temp"));
    EXPECT_EQ(db.DB_Status(), 0);
}
