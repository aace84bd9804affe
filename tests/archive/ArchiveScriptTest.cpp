#include "archive/ArchiveScript.h"

#include <gtest/gtest.h>
#include <limits>

using namespace ArchiveScript;

// SQL Server reads these the same whatever its language and date format settings.
TEST(ArchiveScript, SqlServerLiteralsAreUnambiguous)
{
    const auto server = [](DbValueType type, const QString& text) {
        return literal(Dialect::SqlServer, DbValue{type, text, 0, {}});
    };
    EXPECT_EQ(server(DbValueType::DateTime, "2024-06-12 11:42:10.000"), "'2024-06-12T11:42:10'");
    EXPECT_EQ(server(DbValueType::DateTime, "2024-06-12 11:42:10.120"),
              "'2024-06-12T11:42:10.120'");
    EXPECT_EQ(server(DbValueType::Text, "오늘's"), "N'오늘''s'");
    EXPECT_EQ(literal(Dialect::SqlServer, DbValue{DbValueType::Binary, {}, 0, "\x01\xAB"}),
              "0x01AB");
    EXPECT_EQ(literal(Dialect::Sqlite, DbValue{DbValueType::Binary, {}, 0, "\x01\xAB"}), "X'01AB'");
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(literal(Dialect::Sqlite, DbValue{DbValueType::Float, {}, -inf, {}}), "-9e999");
    EXPECT_EQ(quotedName(Dialect::SqlServer, "a]b"), "[a]]b]");
    EXPECT_EQ(dialectOfFirstLine(QChar(0xFEFF) + firstLine(Dialect::SqlServer) + "\r\n"),
              Dialect::SqlServer);
    EXPECT_EQ(dialectOfFirstLine(u"-- Sweep archive (Oracle)"), std::nullopt);
}
