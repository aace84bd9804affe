#include "db/Mod_DB.h"
#include "support/FixtureDatabase.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <sqlite3.h>

// Both backends answer the same tests: the demo file through SQLite's own API and through
// unixODBC with the SQLite ODBC driver (the fetch, diagnostics and transaction code that SQL
// Server uses).
enum class Backend
{
    Sqlite,
    Odbc,
};

namespace {

std::string backendName(const testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::Sqlite ? "Sqlite" : "Odbc";
}

// "description[number]" lines, each with a text before the bracket.
const QRegularExpression errorLine(QStringLiteral(R"(^.+\[-?\d+\]$)"));
// "number : description"
const QRegularExpression statementError(QStringLiteral(R"(^-?\d+ : \S.*$)"),
                                        QRegularExpression::DotMatchesEverythingOption);

} // namespace

class ModDbBackend : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fixture.isValid()) << m_fixture.error().toStdString();
        m_db = connectAgain();
        ASSERT_TRUE(m_db->isConnected());
    }

    std::unique_ptr<Mod_DB> connectAgain() const
    {
        return GetParam() == Backend::Sqlite ? m_fixture.connect() : m_fixture.connectOdbc();
    }

    // One value (as text) of a one-cell query, checked to succeed.
    QString scalar(const QString& sql)
    {
        TextTable t;
        qint32 rows = 0, cols = 0;
        m_db->DB_Query(sql, t, rows, cols);
        EXPECT_EQ(m_db->DB_Status(), 1)
            << sql.toStdString() << ": " << m_db->DB_ErrText().toStdString();
        return rows > 0 ? t.cell(1, 0) : QString();
    }

    FixtureDatabase m_fixture;
    std::unique_ptr<Mod_DB> m_db;
};

TEST_P(ModDbBackend, EmptyResultIsOneEmptyCellWithZeroCounts)
{
    TextTable t;
    t.reset(3, 2);
    t.setCell(2, 1, u"이전 결과");
    qint32 rows = 2, cols = 2;
    m_db->DB_Query(QStringLiteral("SELECT PE_NTBID,PE_ID,PE_DATE,PE_TOT FROM PE\nWHERE PE_ID=-1"),
                   t, rows, cols);
    EXPECT_EQ(m_db->DB_Status(), 1);
    EXPECT_TRUE(m_db->DB_ErrText().isEmpty());
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(cols, 0);
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.columnCount(), 1);
    EXPECT_TRUE(t.cell(0, 0).isEmpty());

    // A statement that touches nothing succeeds as well.
    m_db->DB_Execute(QStringLiteral("DELETE FROM PE WHERE PE_ID=-1"));
    EXPECT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
}

TEST_P(ModDbBackend, ValuesBecomeTextsNullAndEmptyAlike)
{
    TextTable t;
    qint32 rows = 0, cols = 0;
    m_db->DB_Query(QStringLiteral("SELECT PE_ID, PE_NTBID, PE_DATE, PE_TOT, PE_MEMO FROM PE "
                                  "WHERE PE_ID IN (1001, 1004, 1006) ORDER BY PE_ID"),
                   t, rows, cols);
    ASSERT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    ASSERT_EQ(rows, 3);
    ASSERT_EQ(cols, 5);
    const QStringList header{"PE_ID", "PE_NTBID", "PE_DATE", "PE_TOT", "PE_MEMO"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(t.cell(0, c), header[c]);
    const QStringList expected[] = {
        {"1001", "1   ", "2024-06-12 11:42:10", "38000", ""}, // NULL memo
        {"1004", "12  ", "2024-06-14 12:31:45", "126000", "회식, 영수증 따로"},
        {"1006", "2   ", "2024-06-14 19:15:00", "0", ""}, // empty memo
    };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(t.cell(r + 1, c), expected[r][c]) << "row " << r + 1 << " column " << c;
}

TEST_P(ModDbBackend, FailedQueryLeavesTheCallersOutputsAndAddsItsLines)
{
    TextTable t;
    t.reset(2, 2);
    t.setCell(1, 1, u"그대로");
    qint32 rows = 1, cols = 2;
    for (const char* bad :
         {"SELEC * FROM PE", "SELECT * FROM NO_SUCH_TABLE", "SELECT NO_SUCH_COLUMN FROM DTD",
          // fails while the rows are read, after several have arrived
          "SELECT CASE WHEN PE_ID=1008 THEN abs(-9223372036854775807-1) "
          "ELSE PE_ID END FROM PE ORDER BY PE_ID"}) {
        m_db->DB_Query(QString::fromUtf8(bad), t, rows, cols);
        EXPECT_EQ(m_db->DB_Status(), 0) << bad;
        EXPECT_EQ(rows, 1);
        EXPECT_EQ(cols, 2);
        EXPECT_EQ(t.rowCount(), 2);
        EXPECT_EQ(t.cell(1, 1), QStringLiteral("그대로"));
    }
    // Four failures, no success between them: at least one line each, joined by CR LF.
    const QStringList lines = m_db->DB_ErrText().split(QStringLiteral("\r\n"));
    EXPECT_GE(lines.size(), 4);
    for (const QString& line : lines)
        EXPECT_TRUE(errorLine.match(line).hasMatch()) << line.toStdString();
    EXPECT_EQ(m_db->DB_ErrText().count(QLatin1Char('\n')), lines.size() - 1); // no stray breaks

    scalar(QStringLiteral("SELECT count(*) FROM PE"));
    EXPECT_TRUE(m_db->DB_ErrText().isEmpty());
}

TEST_P(ModDbBackend, FailedQueryAfterFailedStatementAppendsAfterCrLf)
{
    m_db->DB_Execute(QStringLiteral("DELETE FROM NO_SUCH_TABLE"));
    EXPECT_EQ(m_db->DB_Status(), 0);
    const QString statementText = m_db->DB_ErrText();
    EXPECT_TRUE(statementError.match(statementText).hasMatch()) << statementText.toStdString();
    EXPECT_EQ(statementText, statementText.trimmed());

    TextTable t;
    qint32 rows = 0, cols = 0;
    m_db->DB_Query(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"), t, rows, cols);
    ASSERT_TRUE(m_db->DB_ErrText().startsWith(statementText + QStringLiteral("\r\n")));
    const QString added = m_db->DB_ErrText().mid(statementText.size() + 2);
    EXPECT_TRUE(errorLine.match(added.split(QStringLiteral("\r\n")).first()).hasMatch())
        << added.toStdString();

    // A failed statement replaces the text instead of adding to it.
    m_db->DB_Execute(QStringLiteral("DELETE FROM NO_SUCH_TABLE"));
    EXPECT_EQ(m_db->DB_ErrText(), statementText);
    m_db->DB_Execute(QStringLiteral("DELETE FROM PE WHERE PE_CK='0'AND PE_ID ='1005'"));
    EXPECT_EQ(m_db->DB_Status(), 1);
    EXPECT_TRUE(m_db->DB_ErrText().isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM PE WHERE PE_CK=0")), "4");
}

TEST_P(ModDbBackend, BatchRunsAsOneTransaction)
{
    // A trigger makes the second statement of the payment-cancel batch fail. (The SQLite ODBC
    // driver refuses a text of several statements outright; nothing may change either way.)
    m_db->DB_Execute(QStringLiteral("CREATE TRIGGER keep_credit BEFORE DELETE ON credit_temp "
                                    "BEGIN SELECT RAISE(ABORT, '카드 작업행 보호'); END"));
    ASSERT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    const QString batch = QStringLiteral(
        "delete from ac_temp;\r\ndelete from credit_temp;\r\ndelete from pecash_temp");
    m_db->DB_Execute(batch);
    EXPECT_EQ(m_db->DB_Status(), 0);
    EXPECT_TRUE(statementError.match(m_db->DB_ErrText()).hasMatch())
        << m_db->DB_ErrText().toStdString();
    if (GetParam() == Backend::Sqlite)
        EXPECT_TRUE(m_db->DB_ErrText().contains(QStringLiteral("카드 작업행 보호")))
            << m_db->DB_ErrText().toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM AC_TEMP")), "6");
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM credit_temp")), "3");
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM pecash_temp")), "2");
    if (GetParam() == Backend::Odbc)
        GTEST_SKIP() << "batches through ODBC are run against SQL Server (SWEEP_TEST_MSSQL)";

    // A failure in the last statement undoes the first two as well.
    m_db->DB_Execute(QStringLiteral("CREATE TABLE T (ID INTEGER PRIMARY KEY, NAME VARCHAR(20))"));
    m_db->DB_Execute(QStringLiteral("INSERT INTO T VALUES (1, '가');\nINSERT INTO T VALUES (2, "
                                    "'나');\nINSERT INTO T VALUES (1, '다')"));
    EXPECT_EQ(m_db->DB_Status(), 0);
    EXPECT_TRUE(statementError.match(m_db->DB_ErrText()).hasMatch());
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM T")), "0");

    m_db->DB_Execute(QStringLiteral("DROP TRIGGER keep_credit"));
    m_db->DB_Execute(batch);
    EXPECT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT (SELECT count(*) FROM AC_TEMP) + (SELECT count(*) "
                                    "FROM credit_temp) + (SELECT count(*) FROM pecash_temp)")),
              "0");
}

TEST_P(ModDbBackend, FailedCommitLeavesNoTransactionOpen)
{
    // A deferred foreign key fails at COMMIT, with the transaction still open.
    TextTable t;
    qint32 rows = 0, cols = 0;
    m_db->DB_Query(QStringLiteral("PRAGMA foreign_keys=ON"), t, rows, cols);
    m_db->DB_Execute(QStringLiteral("CREATE TABLE PARENT (ID INTEGER PRIMARY KEY);"
                                    "CREATE TABLE CHILD (ID INTEGER, P INTEGER REFERENCES "
                                    "PARENT(ID) DEFERRABLE INITIALLY DEFERRED)"));
    ASSERT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();

    m_db->DB_Execute(QStringLiteral("INSERT INTO CHILD VALUES (1, 99)"));
    EXPECT_EQ(m_db->DB_Status(), 0);
    EXPECT_TRUE(statementError.match(m_db->DB_ErrText()).hasMatch())
        << m_db->DB_ErrText().toStdString();

    m_db->DB_Execute(QStringLiteral("INSERT INTO PARENT VALUES (7)"));
    EXPECT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    // Seen from another connection, the second statement is committed and the first is not.
    auto other = m_fixture.connect();
    TextTable seen;
    other->DB_Query(
        QStringLiteral("SELECT (SELECT count(*) FROM PARENT), (SELECT count(*) FROM CHILD)"), seen,
        rows, cols);
    ASSERT_EQ(rows, 1);
    EXPECT_EQ(seen.cell(1, 0), "1");
    EXPECT_EQ(seen.cell(1, 1), "0");
}

TEST_P(ModDbBackend, SecondConnectReplacesTheFirst)
{
    // A temporary table lives only as long as its connection.
    m_db->DB_Execute(QStringLiteral("CREATE TEMP TABLE SCRATCH (ID INTEGER)"));
    ASSERT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM SCRATCH")), "0");

    EXPECT_TRUE(m_db->DB_Connect());
    EXPECT_TRUE(m_db->isConnected());
    TextTable t;
    qint32 rows = 0, cols = 0;
    m_db->DB_Query(QStringLiteral("SELECT count(*) FROM SCRATCH"), t, rows, cols);
    EXPECT_EQ(m_db->DB_Status(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM DTD")), "20");
}

TEST_P(ModDbBackend, KoreanAndLongTextsSurviveTheRoundTrip)
{
    // Long enough to need many pieces; mixed widths so no piece boundary is special.
    QString longText;
    while (longText.size() < 20000)
        longText +=
            QStringLiteral("배달 메모 %1: 문 앞에 두고 벨 눌러주세요. ").arg(longText.size());
    const QStringList values{QStringLiteral("홍길동"), QStringLiteral("(주)한빛상사 '본점'"),
                             QStringLiteral("ㄱㄴㄷ 한글 English 123"), longText};
    m_db->DB_Execute(QStringLiteral("CREATE TABLE MEMO (ID INTEGER, BODY TEXT)"));
    for (int i = 0; i < values.size(); ++i) {
        QString quoted = values[i];
        quoted.replace(QLatin1Char('\''), QLatin1String("''"));
        m_db->DB_Execute(QStringLiteral("INSERT INTO MEMO VALUES (%1, '%2')").arg(i).arg(quoted));
        ASSERT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    }
    TextTable t;
    qint32 rows = 0, cols = 0;
    m_db->DB_Query(QStringLiteral("SELECT BODY, length(BODY) AS 길이 FROM MEMO ORDER BY ID"), t,
                   rows, cols);
    ASSERT_EQ(rows, values.size());
    EXPECT_EQ(t.cell(0, 1), QStringLiteral("길이"));
    for (int i = 0; i < values.size(); ++i) {
        EXPECT_EQ(t.cell(i + 1, 0).size(), values[i].size());
        EXPECT_EQ(t.cell(i + 1, 0), values[i]);
        EXPECT_EQ(t.cell(i + 1, 1), QString::number(values[i].size()));
    }
}

TEST_P(ModDbBackend, TextsOfEveryLengthAroundThePieceSizeArriveWhole)
{
    // The ODBC backend reads 4096 UTF-16 units a call, the last one a terminator.
    m_db->DB_Execute(QStringLiteral("CREATE TABLE PIECE (ID INTEGER, BODY TEXT)"));
    const int lengths[] = {4094, 4095, 4096, 4097, 8190, 8191, 8192};
    for (int length : lengths) {
        QString body(length, QLatin1Char('a'));
        body[length - 1] = QLatin1Char('z');
        m_db->DB_Execute(
            QStringLiteral("INSERT INTO PIECE VALUES (%1, '%2')").arg(length).arg(body));
    }
    TextTable t;
    qint32 rows = 0, cols = 0;
    m_db->DB_Query(QStringLiteral("SELECT ID, BODY FROM PIECE ORDER BY ID"), t, rows, cols);
    ASSERT_EQ(rows, int(std::size(lengths)));
    for (int r = 1; r <= rows; ++r) {
        const QString& body = t.cell(r, 1);
        EXPECT_EQ(body.size(), t.cell(r, 0).toInt());
        EXPECT_TRUE(body.endsWith(QLatin1String("az"))) << r;
        EXPECT_EQ(body.count(QLatin1Char('a')), body.size() - 1);
    }
}

TEST_P(ModDbBackend, QueriesAndStatementsWithoutAConnectionFailCleanly)
{
    Mod_DB never(GetParam() == Backend::Sqlite
                     ? DbTarget::sqlite(m_fixture.path() + QStringLiteral(".missing"))
                     : DbTarget::odbc(QStringLiteral("DRIVER=SQLite3;Database=") +
                                          m_fixture.path() +
                                          QStringLiteral("/no/such/dir/x.sqlite"),
                                      Dialect::Sqlite));
    EXPECT_FALSE(never.DB_Connect());
    EXPECT_FALSE(never.isConnected());
    EXPECT_EQ(never.DB_Status(), 0);
    EXPECT_FALSE(never.DB_ErrText().isEmpty());

    TextTable t;
    qint32 rows = 4, cols = 4;
    never.DB_Query(QStringLiteral("SELECT 1"), t, rows, cols);
    EXPECT_EQ(never.DB_Status(), 0);
    EXPECT_EQ(rows, 4);
    never.DB_Execute(QStringLiteral("DELETE FROM PE"));
    EXPECT_EQ(never.DB_Status(), 0);
    EXPECT_TRUE(statementError.match(never.DB_ErrText()).hasMatch())
        << never.DB_ErrText().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, ModDbBackend, testing::Values(Backend::Sqlite, Backend::Odbc),
                         backendName);
