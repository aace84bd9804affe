#include "archive/RestoreArchive.h"
#include "core/Mod_Basic.h"
#include "db/Mod_DB.h"
#include "db/OdbcConnectionString.h"
#include "demo/DemoDatabase.h"
#include "operations/SqlTexts.h"
#include "support/Files.h"
#include "support/FixtureDatabase.h"
#include "support/QueryText.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Against a real SQL Server: SWEEP_TEST_MSSQL holds an ODBC connection string, for example
// DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=SWEEP_TEST;UID=sa;PWD=...;
// ClientCharset=UTF-8;TDS_Version=7.4 (tests/fixtures/sqlserver/demo-pos.sql makes SWEEP_TEST).
// The tests replace the demo tables of that database, so they refuse the shop's catalog FOOD
// unless SWEEP_TEST_MSSQL_DISPOSABLE=1 declares the server a throwaway one.
class MssqlIntegration : public testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("SWEEP_TEST_MSSQL"))
            GTEST_SKIP() << "SWEEP_TEST_MSSQL is not set";
        ASSERT_TRUE(m_db.DB_Connect()) << m_db.DB_ErrText().toStdString();
        const QString refusal = mssqlTestDatabaseRefusal(m_db);
        ASSERT_TRUE(refusal.isEmpty()) << refusal.toStdString();
        ASSERT_TRUE(m_db.DB_Execute(demoDatabaseScript(Dialect::SqlServer)).succeeded)
            << m_db.DB_ErrText().toStdString();
    }

    Mod_DB m_db{DbTarget::odbc(qEnvironmentVariable("SWEEP_TEST_MSSQL"))};
};

TEST_F(MssqlIntegration, EveryFixtureTypeTakesTheFixedForm)
{
    const QString sql = QStringLiteral(
        "SELECT MENU_NAME, DATALENGTH(MENU_NAME), MENU_PRICE, MENU_UDATE, MENU_STAMP, MENU_NOTE, "
        "MENU_KEY, CAST('2024-06-14T13:40:12.123' AS datetime), CAST('2024-06-14' AS date), "
        "CAST('13:40:12.1234567' AS time), CAST('2024-06-14T13:40:12.12+09:00' AS datetimeoffset), "
        "CAST(0.5 AS decimal(5,2)), CAST(N'김  ' AS nchar(4)), REPLICATE(CAST(0x00FF AS "
        "varbinary(max)), 5000) FROM MENU ORDER BY MENU_CODE");
    // The name's length is in CP949 bytes; the long values arrive whole.
    // clang-format off
    const QStringList expected{QStringLiteral("김치찌개"), "8", "9000", "2024-06-14 13:40:00",
        "2024-06-14 13:40:12", QStringLiteral("메뉴 설명 ").repeated(3000), "00FF10A0",
        "2024-06-14 13:40:12", "2024-06-14", "13:40:12", "2024-06-14 13:40:12", "0.5",
        QStringLiteral("김   "), QStringLiteral("00FF").repeated(5000)};
    // clang-format on
    EXPECT_EQ(record(m_db, sql), expected.join(u'|'));
    // The second menu row is all NULL: empty cells up to the constant columns.
    EXPECT_TRUE(record(m_db, sql, 2).startsWith(QString(7, u'|') + "2024-06-14 13:40:12|"));
}

TEST_F(MssqlIntegration, BatchWithAFailureInTheMiddleChangesNothing)
{
    // The duplicate key only stops its own statement; the third one still runs on the server, and
    // the error arrives with the second result.
    m_db.DB_Execute("delete from ac_temp\r\nINSERT INTO POS (RCT_CODE, POS_ID) "
                    "VALUES ('DEMO01', '01')\r\ndelete from pecash_temp");
    EXPECT_EQ(m_db.DB_Status(), 0);
    EXPECT_TRUE(m_db.DB_ErrText().startsWith(QStringLiteral("2627 : ")))
        << m_db.DB_ErrText().toStdString();
    EXPECT_EQ(record(m_db, "SELECT (SELECT COUNT(*) FROM AC_TEMP), (SELECT COUNT(*) FROM "
                           "pecash_temp), @@TRANCOUNT"),
              "6|2|0");
}

TEST_F(MssqlIntegration, DefaultConnectionStringReachesTheServer)
{
    // Only where the server takes the fixed login; SERVER and DRIVER stay the defaults.
    if (!m_db.DB_ConnStr().contains(QStringLiteral("PWD=%1").arg(SqlServerLogin::password)))
        GTEST_SKIP() << "the test server does not use the fixed sa password";
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));
    const QString catalog = record(m_db, "SELECT DB_NAME()");
    ASSERT_TRUE(Mod_Basic::Write_Ini(Mod_Basic::localSection(), "DBNAME", catalog, ini));
    Mod_DB db(DbTarget::sqlServer(ini));
    ASSERT_TRUE(db.DB_Connect()) << db.DB_ErrText().toStdString();
    // Not cut at the server's default text size.
    EXPECT_EQ(record(db, "SELECT MENU_NOTE FROM MENU WHERE MENU_CODE=1").size(), 18000);
}

TEST_F(MssqlIntegration, RebuildRunsWithTheDemoTablesInPlace)
{
    if (!isFoodCatalog(m_db))
        GTEST_SKIP() << "the rebuild touches a database named food only";
    EXPECT_TRUE(m_db.DB_Execute(SqlTexts::optimise(Dialect::SqlServer)).succeeded)
        << m_db.DB_ErrText().toStdString();
    EXPECT_EQ(record(m_db, "SELECT COUNT(*), @@TRANCOUNT FROM DTD"), "20|0");
}

// A restore that fails after switching IDENTITY_INSERT on switches it off again: the session's
// next insert that leaves the identity to the server still works.
TEST_F(MssqlIntegration, AFailedRestoreLeavesNoIdentityInsertOn)
{
    ASSERT_TRUE(m_db.DB_Execute("IF OBJECT_ID('SWEEP_IDT') IS NOT NULL DROP TABLE SWEEP_IDT; "
                                "CREATE TABLE SWEEP_IDT (ID int IDENTITY PRIMARY KEY, V int); "
                                "INSERT INTO SWEEP_IDT (V) VALUES (1)")
                    .succeeded)
        << m_db.DB_ErrText().toStdString();
    QTemporaryDir dir;
    const QString path = dir.filePath("idt.sql");
    const QString insert = "INSERT INTO SWEEP_IDT ([ID],[V]) VALUES (%1,%1);\r\n";
    ASSERT_TRUE(writeFile(path, "\xEF\xBB\xBF" +
                                    QStringLiteral("-- Sweep archive (SQL Server)\r\n"
                                                   "-- 삭제 전에 보관한 행입니다. 이 스크립트를 "
                                                   "실행하면 행이 되돌아갑니다.\r\n"
                                                   "-- 시각: 2026-12-07 04:01:16\r\n"
                                                   "-- 컴퓨터: 192.0.2.2\r\n"
                                                   "-- 작업: 현황삭제\r\n"
                                                   "-- 데이터베이스: FOOD\r\n"
                                                   "-- 삭제 문장:\r\n"
                                                   "--   DELETE FROM SWEEP_IDT\r\n"
                                                   "-- 행 수 SWEEP_IDT: 2\r\n"
                                                   "SET IDENTITY_INSERT SWEEP_IDT ON;\r\n")
                                        .toUtf8() +
                                    insert.arg(2).toUtf8() + insert.arg(1).toUtf8() +
                                    "SET IDENTITY_INSERT SWEEP_IDT OFF;\r\n"));
    const RestoreOutcome restored = restoreArchive(m_db, {path, true});
    EXPECT_FALSE(restored.succeeded);
    EXPECT_FALSE(restored.refused);
    EXPECT_TRUE(restored.error.startsWith(QStringLiteral("12번째 줄의 문장이 실패했습니다")))
        << restored.error.toStdString();
    EXPECT_TRUE(m_db.DB_Execute("INSERT INTO SWEEP_IDT (V) VALUES (3)").succeeded)
        << m_db.DB_ErrText().toStdString();
    EXPECT_EQ(record(m_db, "SELECT COUNT(*), MAX(V), @@TRANCOUNT FROM SWEEP_IDT"), "2|3|0");
    m_db.DB_Execute("DROP TABLE SWEEP_IDT");
}
