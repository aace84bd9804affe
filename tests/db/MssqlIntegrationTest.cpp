#include "db/DemoDatabase.h"
#include "db/Mod_Basic.h"
#include "db/Mod_DB.h"
#include "db/OdbcConnectionString.h"
#include "maintenance/SqlTexts.h"
#include "support/FixtureDatabase.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Against a real SQL Server: SWEEP_TEST_MSSQL holds an ODBC connection string, for example
// DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=SWEEP_TEST;UID=sa;PWD=...;
// ClientCharset=UTF-8;TDS_Version=7.4 (tests/fixtures/sqlserver/demo-pos.sql makes SWEEP_TEST).
// The tests replace the demo tables of that database, so they refuse the shop's catalog FOOD
// unless SWEEP_TEST_MSSQL_DISPOSABLE=1 declares the server a throwaway one; the index rebuild,
// which touches a database named food alone, runs only then.
class MssqlIntegration : public testing::Test
{
protected:
    void SetUp() override
    {
        m_connStr = qEnvironmentVariable("SWEEP_TEST_MSSQL");
        if (m_connStr.isEmpty())
            GTEST_SKIP() << "SWEEP_TEST_MSSQL is not set";
        m_db = std::make_unique<Mod_DB>(DbTarget::odbc(m_connStr));
        ASSERT_TRUE(m_db->DB_Connect()) << m_db->DB_ErrText().toStdString();
        const QString refusal = mssqlTestDatabaseRefusal(*m_db);
        ASSERT_TRUE(refusal.isEmpty()) << refusal.toStdString();
        m_food = isFoodCatalog(*m_db);
        ASSERT_TRUE(m_db->DB_Execute(demoDatabaseScript(Dialect::SqlServer)).succeeded)
            << m_db->DB_ErrText().toStdString();
    }

    TextTable query(const QString& sql, qint32* rowCount = nullptr)
    {
        TextTable t;
        qint32 rows = 0, cols = 0;
        m_db->DB_Query(sql, t, rows, cols);
        EXPECT_EQ(m_db->DB_Status(), 1)
            << sql.toStdString() << ": " << m_db->DB_ErrText().toStdString();
        if (rowCount)
            *rowCount = rows;
        return t;
    }

    QString m_connStr;
    std::unique_ptr<Mod_DB> m_db;
    bool m_food = false;
};

TEST_F(MssqlIntegration, EveryFixtureTypeTakesTheFixedForm)
{
    qint32 rows = 0;
    const TextTable t = query(
        QStringLiteral(
            "SELECT MENU_NAME, DATALENGTH(MENU_NAME), MENU_PRICE, MENU_UDATE, MENU_STAMP, "
            "MENU_NOTE, MENU_KEY, CAST('2024-06-14T13:40:12.123' AS datetime), CAST('2024-06-14' "
            "AS date), CAST('13:40:12.1234567' AS time), CAST('2024-06-14T13:40:12.12+09:00' AS "
            "datetimeoffset), CAST(0.5 AS decimal(5,2)), CAST(N'김  ' AS nchar(4)), "
            "REPLICATE(CAST(0x00FF AS varbinary(max)), 5000) FROM MENU ORDER BY MENU_CODE"),
        &rows);
    ASSERT_EQ(rows, 2);
    const QStringList expected{QStringLiteral("김치찌개"),
                               "8", // two bytes a syllable in CP949
                               "9000",
                               "2024-06-14 13:40:00",
                               "2024-06-14 13:40:12",
                               QStringLiteral("메뉴 설명 ").repeated(3000),
                               "00FF10A0",
                               "2024-06-14 13:40:12",
                               "2024-06-14",
                               "13:40:12",
                               "2024-06-14 13:40:12",
                               "0.5",
                               QStringLiteral("김   "),
                               QStringLiteral("00FF").repeated(5000)};
    for (int c = 0; c < expected.size(); ++c) {
        EXPECT_EQ(t.cell(1, c), expected[c]) << c;
        EXPECT_TRUE(c >= 7 || t.cell(2, c).isEmpty()) << "NULL in column " << c;
    }
}

TEST_F(MssqlIntegration, BatchWithAFailureInTheMiddleChangesNothing)
{
    // The duplicate key only stops its own statement; the third one still runs on the server, and
    // the error arrives with the second result.
    m_db->DB_Execute(QStringLiteral("delete from ac_temp\r\nINSERT INTO POS (RCT_CODE, POS_ID) "
                                    "VALUES ('DEMO01', '01')\r\ndelete from pecash_temp"));
    EXPECT_EQ(m_db->DB_Status(), 0);
    EXPECT_TRUE(m_db->DB_ErrText().startsWith(QStringLiteral("2627 : ")))
        << m_db->DB_ErrText().toStdString();
    EXPECT_EQ(query(QStringLiteral("SELECT (SELECT COUNT(*) FROM AC_TEMP) * 10 + (SELECT "
                                   "COUNT(*) FROM pecash_temp)"))
                  .cell(1, 0),
              "62");
    EXPECT_EQ(query(QStringLiteral("SELECT @@TRANCOUNT")).cell(1, 0), "0");
}

TEST_F(MssqlIntegration, RebuildRunsWithTheDemoTablesInPlace)
{
    if (!m_food)
        GTEST_SKIP() << "the rebuild touches a database named food only";
    EXPECT_TRUE(m_db->DB_Execute(SqlTexts::optimise(Dialect::SqlServer)).succeeded)
        << m_db->DB_ErrText().toStdString();
    EXPECT_EQ(query(QStringLiteral("SELECT COUNT(*) FROM DTD")).cell(1, 0), "20");
    EXPECT_EQ(query(QStringLiteral("SELECT @@TRANCOUNT")).cell(1, 0), "0");
}

TEST_F(MssqlIntegration, DefaultConnectionStringReachesTheServer)
{
    // Only where the server takes the fixed login; SERVER and DRIVER stay the defaults.
    if (!m_connStr.contains(QStringLiteral("PWD=%1").arg(SqlServerLogin::password)))
        GTEST_SKIP() << "the test server does not use the fixed sa password";
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));
    const QString catalog = query(QStringLiteral("SELECT DB_NAME()")).cell(1, 0);
    ASSERT_TRUE(
        Mod_Basic::Write_Ini(Mod_Basic::localSection(), QStringLiteral("DBNAME"), catalog, ini));
    Mod_DB db(DbTarget::sqlServer(ini));
    ASSERT_TRUE(db.DB_Connect()) << db.DB_ErrText().toStdString();
    TextTable t;
    qint32 rows = 0, cols = 0;
    db.DB_Query(QStringLiteral("SELECT MENU_NOTE FROM MENU WHERE MENU_CODE=1"), t, rows, cols);
    EXPECT_EQ(t.cell(1, 0).size(), 18000); // not cut at the server's default text size
}
