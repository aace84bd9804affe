#include "db/Mod_Basic.h"
#include "db/Mod_DB.h"
#include "db/OdbcConnectionString.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Against a real SQL Server: SWEEP_TEST_MSSQL holds an ODBC connection string, for example
// DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=tempdb;UID=sa;PWD=...;ClientCharset=UTF-8
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
    }

    // One keyword's value of the connection string ("" when absent).
    QString keyword(const QString& name) const
    {
        const QRegularExpression re(QStringLiteral("(?:^|;)\\s*%1\\s*=\\s*([^;]*)").arg(name),
                                    QRegularExpression::CaseInsensitiveOption);
        return re.match(m_connStr).captured(1).trimmed();
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
};

TEST_F(MssqlIntegration, KoreanNvarcharAndCp949VarcharRoundTrip)
{
    QString longText;
    while (longText.size() < 20000)
        longText += QStringLiteral("배달 메모 %1, ").arg(longText.size());
    m_db->DB_Execute(QStringLiteral(
        "CREATE TABLE #KO (ID int, NV nvarchar(100), V varchar(100) COLLATE Korean_Wansung_CI_AS, "
        "BIG nvarchar(max))"));
    ASSERT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    m_db->DB_Execute(
        QStringLiteral("INSERT INTO #KO VALUES (1, N'홍길동 (주)한빛', N'김민준 배달', N'%1')")
            .arg(longText));
    ASSERT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    qint32 rows = 0;
    const TextTable t = query(QStringLiteral("SELECT NV, V, BIG, DATALENGTH(V) FROM #KO"), &rows);
    ASSERT_EQ(rows, 1);
    EXPECT_EQ(t.cell(1, 0), QStringLiteral("홍길동 (주)한빛"));
    EXPECT_EQ(t.cell(1, 1), QStringLiteral("김민준 배달"));
    EXPECT_EQ(t.cell(1, 2), longText);
    EXPECT_EQ(t.cell(1, 3), "11"); // two bytes per syllable in CP949 plus the blank
}

TEST_F(MssqlIntegration, ValuesBecomeTheFixedTexts)
{
    qint32 rows = 0;
    const TextTable t = query(
        QStringLiteral("SELECT CAST('2024-06-14T13:40:12.123' AS datetime) AS D, CAST(15000 AS "
                       "decimal(12,2)) AS A, CAST(0.5 AS decimal(5,2)) AS H, CAST(NULL AS int) AS "
                       "N, N'' AS E, CAST(N'김  ' AS nchar(4)) AS F"),
        &rows);
    ASSERT_EQ(rows, 1);
    const QStringList expected{"2024-06-14 13:40:12",  "15000", "0.5", "", "",
                               QStringLiteral("김   ")};
    for (int c = 0; c < expected.size(); ++c)
        EXPECT_EQ(t.cell(1, c), expected[c]) << t.cell(0, c).toStdString();
}

TEST_F(MssqlIntegration, ThreeStatementBatchWithAFailureInTheMiddleChangesNothing)
{
    m_db->DB_Execute(QStringLiteral("CREATE TABLE #B (ID int PRIMARY KEY)"));
    ASSERT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    // The duplicate key only stops its own statement; the third one still runs on the server, and
    // the error arrives with the second result.
    m_db->DB_Execute(QStringLiteral(
        "INSERT INTO #B VALUES (1)\r\nINSERT INTO #B VALUES (1)\r\nINSERT INTO #B VALUES (2)"));
    EXPECT_EQ(m_db->DB_Status(), 0);
    EXPECT_TRUE(m_db->DB_ErrText().startsWith(QStringLiteral("2627 : ")))
        << m_db->DB_ErrText().toStdString();
    qint32 rows = 0;
    EXPECT_EQ(query(QStringLiteral("SELECT COUNT(*) FROM #B"), &rows).cell(1, 0), "0");
    EXPECT_EQ(query(QStringLiteral("SELECT @@TRANCOUNT")).cell(1, 0), "0");

    m_db->DB_Execute(QStringLiteral(
        "INSERT INTO #B VALUES (1)\r\nINSERT INTO #B VALUES (2)\r\nINSERT INTO #B VALUES (3)"));
    EXPECT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    EXPECT_EQ(query(QStringLiteral("SELECT COUNT(*) FROM #B")).cell(1, 0), "3");
}

TEST_F(MssqlIntegration, FailedQueryListsEveryRecordWithItsNumber)
{
    TextTable t;
    qint32 rows = 3, cols = 3;
    m_db->DB_Query(QStringLiteral("SELECT * FROM NO_SUCH_TABLE_SWEEP"), t, rows, cols);
    EXPECT_EQ(m_db->DB_Status(), 0);
    EXPECT_EQ(rows, 3);
    EXPECT_TRUE(m_db->DB_ErrText().contains(QStringLiteral("[208]")))
        << m_db->DB_ErrText().toStdString();
}

TEST_F(MssqlIntegration, DefaultConnectionStringReachesTheServer)
{
    // Only meaningful where the server takes the fixed login.
    if (keyword(QStringLiteral("PWD")) != QLatin1String(SqlServerLogin::password))
        GTEST_SKIP() << "the test server does not use the fixed sa password";
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));
    const QString catalog = keyword(QStringLiteral("DATABASE"));
    ASSERT_TRUE(Mod_Basic::Write_Ini(Mod_Basic::localSection(), QStringLiteral("DBNAME"),
                                     QStringLiteral("  ") +
                                         (catalog.isEmpty() ? QStringLiteral("master") : catalog) +
                                         QStringLiteral("  "),
                                     ini));
    const QString server = keyword(QStringLiteral("SERVER"));
    if (!server.isEmpty())
        Mod_Basic::Write_Ini(Mod_Basic::localSection(), QStringLiteral("SERVER"), server, ini);
    Mod_DB db(DbTarget::sqlServer(ini));
    EXPECT_TRUE(db.DB_Connect()) << db.DB_ErrText().toStdString();
    EXPECT_TRUE(db.DB_ConnStr().contains(QStringLiteral("UID=sa;PWD=KQXMRTA4817")));
    TextTable t;
    qint32 rows = 0, cols = 0;
    db.DB_Query(QStringLiteral("SELECT DB_NAME()"), t, rows, cols);
    EXPECT_EQ(db.DB_Status(), 1) << db.DB_ErrText().toStdString();
    if (!catalog.isEmpty())
        EXPECT_EQ(t.cell(1, 0).compare(catalog, Qt::CaseInsensitive), 0);
}
