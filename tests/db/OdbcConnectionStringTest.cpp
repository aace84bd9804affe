#include "db/OdbcConnectionString.h"
#include "db/Mod_DB.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct ConnectionStringCase
{
    const char* dbName;
    const char* server;
    const char* driver;
    OdbcPlatform platform;
    const char* expected; // "" when the values cannot be carried
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

#define FREETDS_TAIL                                                                               \
    ";UID=sa;PWD=KQXMRTA4817;ClientCharset=UTF-8;TDS_Version=7.4;TextSize=2147483647"

INSTANTIATE_TEST_SUITE_P(
    Cases, SqlServerConnectionString,
    testing::Values(
        ConnectionStringCase{
            "FOOD", "", "", OdbcPlatform::Other,
            "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=FOOD" FREETDS_TAIL},
        ConnectionStringCase{
            "  POS DB  ", "", "", OdbcPlatform::Windows,
            "DRIVER={SQL Server};SERVER=(local);DATABASE=POS DB;UID=sa;PWD=KQXMRTA4817"},
        ConnectionStringCase{
            "매장DB", "POSPC\\SQLEXPRESS", "", OdbcPlatform::Other,
            "DRIVER={FreeTDS};SERVER=POSPC\\SQLEXPRESS;DATABASE=매장DB" FREETDS_TAIL},
        ConnectionStringCase{
            "FOOD", "", "{ODBC Driver 18 for SQL Server}", OdbcPlatform::Other,
            "DRIVER={ODBC Driver 18 for SQL Server};SERVER=127.0.0.1;DATABASE=FOOD;"
            "UID=sa;PWD=KQXMRTA4817"},
        // A catalog never smuggles in another keyword. The standard form doubles a brace...
        ConnectionStringCase{"FOOD;UID=x}", "", "", OdbcPlatform::Windows,
                             "DRIVER={SQL Server};SERVER=(local);DATABASE={FOOD;UID=x}}};UID=sa;"
                             "PWD=KQXMRTA4817"},
        // ...FreeTDS reads a braced value up to the first "};" and keeps "}}", so for it a value
        // goes bare when it can, in braces when it holds no brace, and is refused otherwise.
        ConnectionStringCase{
            "FO}OD=1", "", "", OdbcPlatform::Other,
            "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=FO}OD=1" FREETDS_TAIL},
        ConnectionStringCase{
            "FOOD;PORT=9", "", "", OdbcPlatform::Other,
            "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE={FOOD;PORT=9}" FREETDS_TAIL},
        ConnectionStringCase{"FOOD};PORT=9", "", "", OdbcPlatform::Other, ""},
        ConnectionStringCase{"{FOOD}", "", "", OdbcPlatform::Other, ""},
        ConnectionStringCase{"FOOD", "", "Free}TDS", OdbcPlatform::Windows, ""}));

TEST(SqlServerConnectionStringFromIni, DbConnectUsesTheLocalSectionAndFailsCleanly)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("IP.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // CP949 for "[로컬ip]"; port 9 (discard) on the loopback: nothing answers there.
    f.write(QByteArray::fromHex("5bb7cec4c369705d") +
            "\r\nDBNAME=  POS2  \r\nSERVER=127.0.0.1,9\r\n");
    f.close();
    Mod_DB db(DbTarget::sqlServer(f.fileName()));
    EXPECT_FALSE(db.DB_Connect());
    EXPECT_EQ(db.DB_ConnStr(), sqlServerConnectionString(QStringLiteral("POS2"),
                                                         QStringLiteral("127.0.0.1,9"), QString()));
    EXPECT_FALSE(db.DB_ErrText().isEmpty());
    EXPECT_FALSE(db.DB_Execute(QStringLiteral("delete from ac_temp")).succeeded);
}
