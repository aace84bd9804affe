#include "db/Mod_DB.h"
#include "support/FixtureDatabase.h"
#include "support/QueryText.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

// Both backends answer the same tests: the demo file through SQLite's own API and through
// unixODBC with the SQLite ODBC driver (the fetch, diagnostics and transaction code that SQL
// Server uses).
namespace {
// "number : description"
const QRegularExpression statementError(QStringLiteral(R"(^-?\d+ : \S.*$)"),
                                        QRegularExpression::DotMatchesEverythingOption);

} // namespace

// The parameter: whether the backend goes through ODBC.
class ModDbBackend : public testing::TestWithParam<bool>
{
protected:
    void execute(const QString& sql)
    {
        EXPECT_TRUE(m_db->DB_Execute(sql).succeeded) << m_db->DB_ErrText().toStdString();
    }

    FixtureDatabase m_fixture;
    const std::unique_ptr<Mod_DB> m_db = GetParam() ? m_fixture.connectOdbc() : m_fixture.connect();
};

TEST_P(ModDbBackend, FailuresKeepTheCallersOutputsAndChangeNothing)
{
    // A trigger makes the second statement of the payment-cancel batch fail. (The SQLite ODBC
    // driver refuses a text of several statements outright; nothing may change either way.)
    execute("CREATE TRIGGER keep_credit BEFORE DELETE ON credit_temp BEGIN SELECT RAISE(ABORT, "
            "'카드 작업행 보호'); END");
    m_db->DB_Execute("delete from ac_temp;\r\ndelete from credit_temp;\r\ndelete from pecash_temp");
    const QString statementText = m_db->DB_ErrText();
    EXPECT_TRUE(statementError.match(statementText).hasMatch()) << statementText.toStdString();

    TextTable t;
    t.reset(2, 2);
    qint32 rows = 1, cols = 2;
    // The second fails while the rows are read, after several have arrived.
    for (const char* bad : {"SELECT NO_SUCH_COLUMN FROM DTD",
                            "SELECT CASE WHEN PE_ID=1008 THEN abs(-9223372036854775807-1) "
                            "ELSE PE_ID END FROM PE ORDER BY PE_ID"}) {
        m_db->DB_Query(QString::fromUtf8(bad), t, rows, cols);
        EXPECT_EQ(m_db->DB_Status(), 0) << bad;
        EXPECT_EQ(rows, 1) << bad;
        EXPECT_EQ(cols, 2) << bad;
        EXPECT_EQ(t.rowCount(), 2) << bad;
    }
    // "description[number]" lines follow the statement's text after CR LF.
    const QRegularExpression lines(QRegularExpression::escape(statementText) +
                                   QStringLiteral(R"((\r\n[^\r\n]+\[-?\d+\]){2,}$)"));
    EXPECT_TRUE(lines.match(m_db->DB_ErrText()).hasMatch()) << m_db->DB_ErrText().toStdString();
    // A missing file is an error, never a new empty database.
    const QString missing = m_fixture.path() + QStringLiteral(".없음");
    EXPECT_FALSE(Mod_DB(DbTarget::sqlite(missing)).DB_Connect());
    EXPECT_FALSE(QFile::exists(missing));
    const char* count = "SELECT (SELECT count(*) FROM AC_TEMP), (SELECT count(*) FROM credit_temp)";
    EXPECT_EQ(record(*m_db, count), "6|3");
}

TEST_P(ModDbBackend, ValuesArriveWholeInTheFixedForms)
{
    // NULL and empty memos both read as empty; fixed-width texts keep their blanks.
    EXPECT_EQ(queryText(*m_db, "SELECT PE_ID, PE_NTBID, PE_DATE, PE_TOT, PE_MEMO FROM PE WHERE "
                               "PE_ID IN (1001, 1004, 1006) ORDER BY PE_ID"),
              QStringLiteral("PE_ID|PE_NTBID|PE_DATE|PE_TOT|PE_MEMO\n1001|1   |2024-06-12 "
                             "11:42:10|38000|\n1004|12  |2024-06-14 12:31:45|126000|회식, 영수증 "
                             "따로\n1006|2   |2024-06-14 19:15:00|0|\n"));
    qint32 records = -1; // an empty result is one empty cell
    EXPECT_EQ(queryText(*m_db, "SELECT PE_ID FROM PE WHERE PE_ID=-1", &records), "\n");
    EXPECT_EQ(records, 0);

    // The ODBC backend reads 4096 UTF-16 units (8192 bytes of binary) a call.
    QString korean;
    while (korean.size() < 20000)
        korean += QStringLiteral("배달 메모 %1: 문 앞에 두고 벨 눌러주세요. ").arg(korean.size());
    execute("CREATE TABLE T (BODY TEXT, DATA BLOB, A datetime2, B datetimeoffset, C date, D time)");
    execute(QStringLiteral("INSERT INTO T VALUES ('%1', randomblob(9000), '2024-06-14 "
                           "13:40:12.1230000', '2024-06-14 13:40:12.1230000 +09:00', "
                           "'2024-06-14', '13:40:12.1230000')")
                .arg(korean));
    execute(QStringLiteral("INSERT INTO T VALUES ('%1z', x'00FF10a0', NULL, '2024-06-14 13:40:12 "
                           "+09:00', NULL, NULL)")
                .arg(QString(4096, u'a')));
    const char* sql = "SELECT BODY, DATA, hex(DATA), A, B, C, D FROM T";
    const QStringList one = record(*m_db, sql, 1).split(u'|'),
                      two = record(*m_db, sql, 2).split(u'|');
    EXPECT_EQ(one[0], korean);
    EXPECT_EQ(two[0], QString(4096, u'a') + u'z');
    // Binary values as uppercase hexadecimal digits, as SQLite's hex() writes them.
    EXPECT_EQ(one[1], one[2]);
    EXPECT_EQ(two[1], "00FF10A0");
    EXPECT_EQ(one.mid(3, 3),
              QStringList({"2024-06-14 13:40:12", "2024-06-14 13:40:12", "2024-06-14"}));
    // SQLite's own API knows no column types; its texts only lose a date-time's fraction.
    if (GetParam()) {
        EXPECT_EQ(one[6], "13:40:12");
        EXPECT_EQ(two[4], "2024-06-14 13:40:12");
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ModDbBackend, testing::Bool(),
                         [](const auto& info) { return info.param ? "Odbc" : "Sqlite"; });
