#include "archive/ArchiveScript.h"

#include <gtest/gtest.h>
#include <limits>

using namespace ArchiveScript;

namespace {

struct LiteralCase
{
    Dialect dialect;
    DbValue value;
    const char* literal; // nullptr: the value cannot be written exactly and is refused
};

DbValue text(const QString& t, DbValueType type = DbValueType::Text)
{
    return {type, t, 0, {}};
}

DbValue number(double n)
{
    return {DbValueType::Float, {}, n, {}};
}

DbValue bytes(const QByteArray& b, DbValueType type)
{
    return {type, {}, 0, b};
}

const QString nul(QChar(0));
const QString loneHigh(QChar(0xD800));
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr Dialect lite = Dialect::Sqlite;
constexpr Dialect server = Dialect::SqlServer;

} // namespace

class Literal : public testing::TestWithParam<LiteralCase>
{
};

// Each value comes back exactly, and SQL Server reads it the same whatever its settings.
TEST_P(Literal, WritesTheValueExactlyOrRefusesIt)
{
    QString out = QStringLiteral("kept ");
    const bool written = appendLiteral(out, GetParam().dialect, GetParam().value);
    if (!GetParam().literal) {
        EXPECT_FALSE(written);
        EXPECT_EQ(out, "kept ");
        return;
    }
    EXPECT_TRUE(written);
    EXPECT_EQ(out, "kept " + QString::fromUtf8(GetParam().literal));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, Literal, testing::Values(
    LiteralCase{server, text("2024-06-12 11:42:10.000", DbValueType::DateTime), "'2024-06-12T11:42:10'"},
    LiteralCase{server, text("2024-06-12 11:42:10.120", DbValueType::DateTime), "'2024-06-12T11:42:10.120'"},
    LiteralCase{server, text("오늘's"), "N'오늘''s'"},
    LiteralCase{lite, text("a" + nul + "b'"), "'a'||char(0)||'b'''"},
    LiteralCase{lite, text(nul), "char(0)"},
    LiteralCase{lite, text("줄\r\n끝"), "'줄\r\n끝'"},
    LiteralCase{server, text("a" + nul + loneHigh + "b"), "N'a'+NCHAR(0)+NCHAR(55296)+N'b'"},
    LiteralCase{server, text("\\\r\n"), "N'\\'+NCHAR(13)+NCHAR(10)"},
    LiteralCase{server, text(QString::fromUtf16(u"\U0001F600")), "N'\U0001F600'"},
    LiteralCase{lite, text(loneHigh), nullptr},
    LiteralCase{lite, bytes("\xC3\xFF", DbValueType::TextBytes), "CAST(X'C3FF' AS TEXT)"},
    LiteralCase{server, bytes("\xC3\xFF", DbValueType::TextBytes), nullptr},
    LiteralCase{server, bytes("\x01\xAB", DbValueType::Binary), "0x01AB"},
    LiteralCase{lite, bytes("\x01\xAB", DbValueType::Binary), "X'01AB'"},
    LiteralCase{lite, number(-inf), "-9e999"},
    LiteralCase{server, number(inf), nullptr},
    LiteralCase{lite, number(std::nan("")), nullptr},
    LiteralCase{lite, number(0.1), "0.10000000000000001"},
    LiteralCase{lite, text("", DbValueType::Integer), nullptr}));
// clang-format on

// A text past 4000 characters with a piece in it would be cut by SQL Server's concatenation.
TEST(ArchiveScript, LongSqlServerTextStartsAsTheMaxType)
{
    QString out;
    ASSERT_TRUE(appendLiteral(out, server, text(QString(4000, u'가') + nul)));
    EXPECT_TRUE(out.startsWith("CAST(N'' AS nvarchar(max))+N'가가")) << out.left(40).toStdString();
    EXPECT_TRUE(out.endsWith("가'+NCHAR(0)"));
    out.clear();
    ASSERT_TRUE(appendLiteral(out, server, text(QString(4000, u'가'))));
    EXPECT_TRUE(out.startsWith("N'가"));
}

// Columns the server fills are left out of both the names and the values.
TEST(ArchiveScript, InsertLeavesOutServerFilledColumns)
{
    const std::vector<DbColumn> columns{{"ID", true, false}, {"RV", false, true}, {"T]", false}};
    QString out;
    ASSERT_TRUE(appendInsert(
        out, server, insertHead(server, "PE", columns), columns,
        {text("7", DbValueType::Integer), bytes("\x01", DbValueType::Binary), text("a,(b)'c")}));
    EXPECT_EQ(out, "INSERT INTO PE ([ID],[T]]]) VALUES (7,N'a,(b)''c');\r\n");
}

TEST(ArchiveScript, ClosingLineNamesEveryTableAndTheHash)
{
    EXPECT_EQ(closingLine({{"ac_temp", 6}, {"credit_temp", 0}}, QByteArray(32, '\xAB')),
              "-- 끝: ac_temp 6, credit_temp 0; SHA-256 " + QString("ab").repeated(32) + "\r\n");
}
