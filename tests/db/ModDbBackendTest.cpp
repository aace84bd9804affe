#include "db/Mod_DB.h"
#include "support/FixtureDatabase.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

// Both backends answer the same tests: the demo file through SQLite's own API and through
// unixODBC with the SQLite ODBC driver (the fetch, diagnostics and transaction code that SQL
// Server uses).
enum class Backend
{
    Sqlite,
    Odbc,
};

namespace {

// "description[number]" lines, and "number : description".
const QRegularExpression errorLine(QStringLiteral(R"(^.+\[-?\d+\]$)"));
const QRegularExpression statementError(QStringLiteral(R"(^-?\d+ : \S.*$)"),
                                        QRegularExpression::DotMatchesEverythingOption);

} // namespace

class ModDbBackend : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fixture.isValid()) << m_fixture.error().toStdString();
        m_db = GetParam() == Backend::Sqlite ? m_fixture.connect() : m_fixture.connectOdbc();
        ASSERT_TRUE(m_db->isConnected());
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
    QString scalar(const QString& sql) { return query(sql).cell(1, 0); }
    void execute(const QString& sql)
    {
        m_db->DB_Execute(sql);
        ASSERT_EQ(m_db->DB_Status(), 1) << m_db->DB_ErrText().toStdString();
    }

    FixtureDatabase m_fixture;
    std::unique_ptr<Mod_DB> m_db;
};

TEST_P(ModDbBackend, ValuesBecomeTextsAndAnEmptyResultOneEmptyCell)
{
    qint32 rows = 0;
    const TextTable t =
        query(QStringLiteral("SELECT PE_ID, PE_NTBID, PE_DATE, PE_TOT, PE_MEMO FROM "
                             "PE WHERE PE_ID IN (1001, 1004, 1006) ORDER BY PE_ID"),
              &rows);
    ASSERT_EQ(rows, 3);
    const QStringList expected[] = {
        {"PE_ID", "PE_NTBID", "PE_DATE", "PE_TOT", "PE_MEMO"},
        {"1001", "1   ", "2024-06-12 11:42:10", "38000", ""}, // NULL memo
        {"1004", "12  ", "2024-06-14 12:31:45", "126000", "회식, 영수증 따로"},
        {"1006", "2   ", "2024-06-14 19:15:00", "0", ""}, // empty memo
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(t.cell(r, c), expected[r][c]) << r << "," << c;

    TextTable empty = t;
    qint32 cols = 5;
    m_db->DB_Query(QStringLiteral("SELECT PE_ID FROM PE WHERE PE_ID=-1"), empty, rows, cols);
    EXPECT_EQ(m_db->DB_Status(), 1);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(cols, 0);
    EXPECT_EQ(empty.rowCount() * empty.columnCount(), 1);
    EXPECT_TRUE(empty.cell(0, 0).isEmpty());
}

TEST_P(ModDbBackend, FailuresKeepTheCallersOutputsAndJoinTheirLines)
{
    m_db->DB_Execute(QStringLiteral("DELETE FROM NO_SUCH_TABLE"));
    EXPECT_EQ(m_db->DB_Status(), 0);
    const QString statementText = m_db->DB_ErrText();
    EXPECT_TRUE(statementError.match(statementText).hasMatch()) << statementText.toStdString();

    TextTable t;
    t.reset(2, 2);
    t.setCell(1, 1, u"그대로");
    qint32 rows = 1, cols = 2;
    for (const char* bad : {"SELEC * FROM PE", "SELECT NO_SUCH_COLUMN FROM DTD",
                            // fails while the rows are read, after several have arrived
                            "SELECT CASE WHEN PE_ID=1008 THEN abs(-9223372036854775807-1) "
                            "ELSE PE_ID END FROM PE ORDER BY PE_ID"}) {
        m_db->DB_Query(QString::fromUtf8(bad), t, rows, cols);
        EXPECT_EQ(m_db->DB_Status(), 0) << bad;
        EXPECT_EQ(rows * 10 + cols, 12);
        EXPECT_EQ(t.cell(1, 1), QStringLiteral("그대로"));
    }
    // The query lines follow the statement's text after CR LF, no success between them.
    ASSERT_TRUE(m_db->DB_ErrText().startsWith(statementText + QStringLiteral("\r\n")));
    const QStringList lines =
        m_db->DB_ErrText().mid(statementText.size() + 2).split(QStringLiteral("\r\n"));
    EXPECT_GE(lines.size(), 3);
    for (const QString& line : lines)
        EXPECT_TRUE(errorLine.match(line).hasMatch()) << line.toStdString();

    execute(QStringLiteral("DELETE FROM PE WHERE PE_CK='0'AND PE_ID ='1005'"));
    EXPECT_TRUE(m_db->DB_ErrText().isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM PE WHERE PE_CK=0")), "4");
}

TEST_P(ModDbBackend, FailedStatementOrCommitChangesNothingAndLeavesNoTransaction)
{
    // A trigger makes the second statement of the payment-cancel batch fail. (The SQLite ODBC
    // driver refuses a text of several statements outright; nothing may change either way.)
    execute(QStringLiteral("CREATE TRIGGER keep_credit BEFORE DELETE ON credit_temp "
                           "BEGIN SELECT RAISE(ABORT, '카드 작업행 보호'); END"));
    m_db->DB_Execute(QStringLiteral(
        "delete from ac_temp;\r\ndelete from credit_temp;\r\ndelete from pecash_temp"));
    EXPECT_EQ(m_db->DB_Status(), 0);
    EXPECT_TRUE(statementError.match(m_db->DB_ErrText()).hasMatch());
    EXPECT_EQ(scalar(QStringLiteral("SELECT (SELECT count(*) FROM AC_TEMP) * 10 + "
                                    "(SELECT count(*) FROM credit_temp)")),
              "63");

    // A deferred foreign key fails at COMMIT, with the transaction still open.
    query(QStringLiteral("PRAGMA foreign_keys=ON"));
    execute(QStringLiteral("CREATE TABLE PARENT (ID INTEGER PRIMARY KEY)"));
    execute(QStringLiteral("CREATE TABLE CHILD (ID INTEGER, P INTEGER REFERENCES "
                           "PARENT(ID) DEFERRABLE INITIALLY DEFERRED)"));
    const DbOutcome failed = m_db->DB_Execute(QStringLiteral("INSERT INTO CHILD VALUES (1, 99)"));
    EXPECT_FALSE(failed.succeeded);
    EXPECT_FALSE(failed.outcomeUnknown);
    execute(QStringLiteral("INSERT INTO PARENT VALUES (7)"));
    // Seen from another connection, the second statement is committed and the first is not.
    TextTable seen;
    qint32 rows = 0, cols = 0;
    m_fixture.connect()->DB_Query(
        QStringLiteral("SELECT (SELECT count(*) FROM PARENT) * 10 + (SELECT count(*) FROM CHILD)"),
        seen, rows, cols);
    EXPECT_EQ(seen.cell(1, 0), "10");
}

TEST_P(ModDbBackend, TextsOfEveryLengthAndBinaryValuesArriveWhole)
{
    // The ODBC backend reads 4096 UTF-16 units (8192 bytes of binary) a call.
    QString korean;
    while (korean.size() < 20000)
        korean += QStringLiteral("배달 메모 %1: 문 앞에 두고 '벨' 눌러주세요. ").arg(korean.size());
    const QString texts[] = {QString(4095, u'a') + u'z', QString(4096, u'a') + u'z',
                             QStringLiteral("홍길동"), korean};
    execute(QStringLiteral("CREATE TABLE MEMO (ID INTEGER, BODY TEXT, DATA BLOB)"));
    for (int i = 0; i < 4; ++i)
        execute(QStringLiteral("INSERT INTO MEMO VALUES (%1, '%2', NULL)")
                    .arg(i)
                    .arg(QString(texts[i]).replace(u'\'', QStringLiteral("''"))));
    execute(QStringLiteral("INSERT INTO MEMO VALUES (4, NULL, x'00FF10a0')"));
    execute(QStringLiteral("INSERT INTO MEMO VALUES (5, NULL, randomblob(9000))"));
    qint32 rows = 0;
    const TextTable t =
        query(QStringLiteral("SELECT BODY, DATA, hex(DATA) AS 헥스 FROM MEMO ORDER BY ID"), &rows);
    ASSERT_EQ(rows, 6);
    EXPECT_EQ(t.cell(0, 2), QStringLiteral("헥스"));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(t.cell(i + 1, 0), texts[i]) << i;
    // Binary values read as uppercase hexadecimal digits, as SQLite's hex() writes them.
    EXPECT_EQ(t.cell(5, 1), "00FF10A0");
    EXPECT_EQ(t.cell(6, 1).size(), 18000);
    EXPECT_EQ(t.cell(6, 1), t.cell(6, 2));
}

TEST_P(ModDbBackend, TimeTypesLoseFractionAndOffset)
{
    execute(QStringLiteral("CREATE TABLE T2 (A datetime2, B datetimeoffset, C date, D time)"));
    execute(
        QStringLiteral("INSERT INTO T2 VALUES ('2024-06-14 13:40:12.1230000', "
                       "'2024-06-14 13:40:12.1230000 +09:00', '2024-06-14', '13:40:12.1230000')"));
    execute(
        QStringLiteral("INSERT INTO T2 VALUES (NULL, '2024-06-14 13:40:12 +09:00', NULL, NULL)"));
    const TextTable t = query(QStringLiteral("SELECT A, B, C, D FROM T2"));
    EXPECT_EQ(t.cell(1, 0), "2024-06-14 13:40:12");
    EXPECT_EQ(t.cell(1, 1), "2024-06-14 13:40:12");
    EXPECT_EQ(t.cell(1, 2), "2024-06-14");
    // SQLite's own API knows no column types; its texts only lose a date-time's fraction.
    if (GetParam() == Backend::Odbc) {
        EXPECT_EQ(t.cell(1, 3), "13:40:12");
        EXPECT_EQ(t.cell(2, 1), "2024-06-14 13:40:12");
    }
}

TEST_P(ModDbBackend, ConnectReplacesTheConnectionAndAFailedOneRefusesStatements)
{
    // A temporary table lives only as long as its connection.
    execute(QStringLiteral("CREATE TEMP TABLE SCRATCH (ID INTEGER)"));
    EXPECT_TRUE(m_db->DB_Connect());
    TextTable t;
    qint32 rows = 0, cols = 0;
    m_db->DB_Query(QStringLiteral("SELECT count(*) FROM SCRATCH"), t, rows, cols);
    EXPECT_EQ(m_db->DB_Status(), 0);

    const QString missing = m_fixture.path() + QStringLiteral("/no/such/dir/x.sqlite");
    Mod_DB never(GetParam() == Backend::Sqlite
                     ? DbTarget::sqlite(missing)
                     : DbTarget::odbc(QStringLiteral("DRIVER={%1};Database=%2;NoCreat=1")
                                          .arg(sqliteOdbcDriver(), missing),
                                      Dialect::Sqlite));
    EXPECT_FALSE(never.DB_Connect());
    EXPECT_FALSE(never.isConnected());
    EXPECT_FALSE(never.DB_ErrText().isEmpty());
    never.DB_Execute(QStringLiteral("DELETE FROM PE"));
    EXPECT_EQ(never.DB_Status(), 0);
    EXPECT_TRUE(statementError.match(never.DB_ErrText()).hasMatch());
}

INSTANTIATE_TEST_SUITE_P(Backends, ModDbBackend, testing::Values(Backend::Sqlite, Backend::Odbc),
                         [](const testing::TestParamInfo<Backend>& info) {
                             return info.param == Backend::Sqlite ? "Sqlite" : "Odbc";
                         });
