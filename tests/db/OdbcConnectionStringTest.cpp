#include "db/OdbcConnectionString.h"
#include "core/Mod_Basic.h"
#include "db/Mod_DB.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SqlServerConnectionString, IsBuiltFromCatalogAndOverrides)
{
    const QString tail = QStringLiteral(
        ";UID=sa;PWD=KQXMRTA4817;ClientCharset=UTF-8;TDS_Version=7.4;TextSize=2147483647");
    const OdbcPlatform win = OdbcPlatform::Windows, other = OdbcPlatform::Other;
    // {catalog, server, driver, platform, expected ("" when the values cannot be carried)}
    const std::tuple<QString, QString, QString, OdbcPlatform, QString> rows[] = {
        {"FOOD", "", "", other, "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=FOOD" + tail},
        {"  POS DB  ", "", "", win,
         "DRIVER={SQL Server};SERVER=(local);DATABASE=POS DB;UID=sa;PWD=KQXMRTA4817"},
        {"매장DB", "POSPC\\SQLEXPRESS", "", other,
         "DRIVER={FreeTDS};SERVER=POSPC\\SQLEXPRESS;DATABASE=매장DB" + tail},
        {"FOOD", "", "{ODBC Driver 18 for SQL Server}", other,
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER=127.0.0.1;DATABASE=FOOD;UID=sa;"
         "PWD=KQXMRTA4817"},
        // A catalog never smuggles in another keyword. The standard form doubles a brace...
        {"FOOD;UID=x}", "", "", win,
         "DRIVER={SQL Server};SERVER=(local);DATABASE={FOOD;UID=x}}};UID=sa;PWD=KQXMRTA4817"},
        // ...FreeTDS reads a braced value up to the first "};" and keeps "}}", so for it a value
        // goes bare when it can, in braces when it holds no brace, and is refused otherwise.
        {"FO}OD=1", "", "", other,
         "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=FO}OD=1" + tail},
        {"FOOD;PORT=9", "", "", other,
         "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE={FOOD;PORT=9}" + tail},
        {"FOOD};PORT=9", "", "", other, ""},
        {"{FOOD}", "", "", other, ""},
        {"FOOD", "", "Free}TDS", win, ""}};
    for (const auto& [catalog, server, driver, platform, expected] : rows)
        EXPECT_EQ(sqlServerConnectionString(catalog, server, driver, platform), expected)
            << catalog.toStdString();
}

TEST(SqlServerConnectionStringFromIni, DbConnectUsesTheLocalSectionAndFailsCleanly)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));
    // Port 9 (discard) on the loopback: nothing answers there.
    Mod_Basic::Write_Ini(Mod_Basic::localSection(), "DBNAME", "  POS2  ", ini);
    Mod_Basic::Write_Ini(Mod_Basic::localSection(), "SERVER", "127.0.0.1,9", ini);
    Mod_DB db(DbTarget::sqlServer(ini));
    EXPECT_FALSE(db.DB_Connect());
    EXPECT_EQ(db.DB_ConnStr(), sqlServerConnectionString("POS2", "127.0.0.1,9", QString()));
    EXPECT_FALSE(db.DB_ErrText().isEmpty());
    EXPECT_FALSE(db.DB_Execute("delete from ac_temp").succeeded);
}
