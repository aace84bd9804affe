#include "maintenance/SqlTexts.h"

#include <gtest/gtest.h>
#include <utility>

// Expected texts are typed out whole, byte by byte, so a single lost blank or line break fails.
namespace {

struct Case
{
    const char* name;
    QString (*build)(Dialect);
    const char* sqlServer;
    const char* sqlite; // nullptr: the same as SQL Server
};

QString chosenCheck(Dialect d)
{
    return SqlTexts::openTableDeleteOne(d, QStringLiteral("1234"));
}
QString rangeSearch(Dialect d)
{
    return SqlTexts::deliverySearchRange(d, QStringLiteral("2017-02-15"),
                                         QStringLiteral("2017-02-17"));
}
QString rangeDelete(Dialect d)
{
    return SqlTexts::deliveryDeleteRange(d, QStringLiteral("2017-02-15"),
                                         QStringLiteral("2017-02-17"));
}

const Case cases[] = {
    {"openTableSearch", SqlTexts::openTableSearch,
     "SELECT PE_NTBID,PE_ID,PE_DATE,PE_TOT FROM PE\nWHERE PE_CK=0", nullptr},
    {"openTableDeleteAll", SqlTexts::openTableDeleteAll, "DELETE FROM PE WHERE PE_CK='0'", nullptr},
    {"openTableDeleteOne", chosenCheck, "DELETE FROM PE WHERE PE_CK='0'AND PE_ID ='1234'", nullptr},
    {"payCancelSearch", SqlTexts::payCancelSearch,
     " SELECT A.* \n FROM AC_TEMP A \r\n ORDER BY A.PE_ID, A.AC_NO \n", nullptr},
    {"payCancelDelete", SqlTexts::payCancelDelete,
     "delete from ac_temp\r\ndelete from credit_temp\r\ndelete from pecash_temp",
     "delete from ac_temp;\r\ndelete from credit_temp;\r\ndelete from pecash_temp"},
    {"deliverySearchAll", SqlTexts::deliverySearchAll,
     " SELECT * FROM DTD \n WHERE(DTD_STATUS <3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'\r\n"
     " ORDER BY DTD_JTIME,DTD_CALGU,DTD_STATUS",
     nullptr},
    {"deliverySearchRange", rangeSearch,
     " SELECT * FROM DTD \n WHERE (DTD_EDATE BETWEEN '2017-02-15'\r\n AND  '2017-02-17'\r\n"
     " AND(DTD_STATUS <3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y')\r\n"
     " ORDER BY DTD_JTIME,DTD_CALGU,DTD_STATUS",
     nullptr},
    {"deliveryDeleteAll", SqlTexts::deliveryDeleteAll,
     "DELETE FROM DTD\r\n where (DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'", nullptr},
    {"deliveryDeleteRange", rangeDelete,
     "DELETE FROM DTD\r\nWHERE (DTD_EDATE BETWEEN '2017-02-15'\r\n AND '2017-02-17'\r\n"
     " AND(DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y')",
     nullptr},
    {"optimise", SqlTexts::optimise,
     "DECLARE @Database VARCHAR(255)DECLARE @Table VARCHAR(255)DECLARE @cmd NVARCHAR(500)"
     "DECLARE @fillfactor INT\n"
     "SET @fillfactor = 90\n"
     "DECLARE DatabaseCursor CURSOR FOR\n"
     "SELECT name FROM master.dbo.sysdatabases\n"
     "WHERE name IN ('food')\n"
     "ORDER BY 1\n"
     "OPEN DatabaseCursor\n"
     "FETCH NEXT FROM DatabaseCursor INTO @Database\n"
     "WHILE @@FETCH_STATUS = 0\n"
     "BEGIN\n"
     "SET @cmd = 'DECLARE TableCursor CURSOR FOR SELECT ''['' + table_catalog + ''].['' + "
     "table_schema + ''].['' + table_name + '']'' as tableName FROM [' + @Database + "
     "'].INFORMATION_SCHEMA.TABLES  \n"
     "WHERE table_type = ''BASE TABLE''' \n"
     "EXEC (@cmd) OPEN TableCursor\n"
     "FETCH NEXT FROM TableCursor INTO @Table\n"
     "WHILE @@FETCH_STATUS = 0\n"
     "BEGIN\n"
     "IF (@@MICROSOFTVERSION / POWER(2, 24) >= 9)\n"
     "BEGIN\n"
     "SET @cmd = 'ALTER INDEX ALL ON ' + @Table + ' REBUILD WITH (FILLFACTOR = ' + "
     "CONVERT(VARCHAR(3),@fillfactor) + ')'\n"
     "EXEC (@cmd)\n"
     "End\n"
     "Else\n"
     "BEGIN\n"
     "DBCC DBREINDEX(@Table,' ',@fillfactor)\n"
     "End\n"
     "FETCH NEXT FROM TableCursor INTO @Table\n"
     "End\n"
     "Close TableCursor\n"
     "DEALLOCATE TableCursor\n"
     "FETCH NEXT FROM DatabaseCursor INTO @Database\n"
     "End\n"
     "Close DatabaseCursor\n"
     "DEALLOCATE DatabaseCursor",
     "REINDEX"},
};

class SqlTextsTest : public ::testing::TestWithParam<Case>
{
};

TEST_P(SqlTextsTest, BuildsTheExactTextForEachDialect)
{
    const Case& c = GetParam();
    EXPECT_EQ(c.build(Dialect::SqlServer), QString::fromUtf8(c.sqlServer));
    EXPECT_EQ(c.build(Dialect::Sqlite), QString::fromUtf8(c.sqlite ? c.sqlite : c.sqlServer));
}

INSTANTIATE_TEST_SUITE_P(AllStatements, SqlTextsTest, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

// Hostile texts stay inside their quotes: every quote is doubled, nothing else changes.
TEST(SqlTexts, UserTextsAreQuoteDoubled)
{
    const std::pair<const char*, const char*> texts[] = {
        {"20170215001", "20170215001"},
        {"''", "''''"},
        {"x'; DROP TABLE PE; --", "x''; DROP TABLE PE; --"},
        {"홍길동's 전표", "홍길동''s 전표"},
    };
    for (const auto& [input, quoted] : texts)
        EXPECT_EQ(SqlTexts::quoteDoubled(QString::fromUtf8(input)), QString::fromUtf8(quoted))
            << input;

    const QString hostile = QStringLiteral("1'; delete from PE; --");
    EXPECT_EQ(SqlTexts::openTableDeleteOne(Dialect::SqlServer, hostile),
              QStringLiteral("DELETE FROM PE WHERE PE_CK='0'AND PE_ID ='1''; delete from PE; --'"));
    EXPECT_EQ(SqlTexts::deliveryDeleteRange(Dialect::Sqlite, QStringLiteral("a'b"), hostile),
              QStringLiteral("DELETE FROM DTD\r\nWHERE (DTD_EDATE BETWEEN 'a''b'\r\n"
                             " AND '1''; delete from PE; --'\r\n"
                             " AND(DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y')"));
    EXPECT_TRUE(SqlTexts::deliverySearchRange(Dialect::SqlServer, hostile, hostile)
                    .contains(QStringLiteral("BETWEEN '1''; delete from PE; --'\r\n AND  '1''")));
}

} // namespace
