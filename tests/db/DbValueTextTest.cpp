#include "db/DbConnection.h"

#include <gtest/gtest.h>

TEST(DbValueText, DateTimesLoseTheirFractionOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2024-06-14 13:40:12.000", "2024-06-14 13:40:12"},
        {"2024-06-14 13:40:12.1234567", "2024-06-14 13:40:12"},
        {"2024-06-14 13:40:12", "2024-06-14 13:40:12"},
        {"2024-06-14", "2024-06-14"},
        {"", ""},
        {"메모. 2024-06-14 13:40:12.5", "메모. 2024-06-14 13:40:12.5"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(dateTimeText(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

TEST(DbValueText, DecimalsLoseTrailingZerosLikePlainNumbers)
{
    const std::pair<const char*, const char*> cases[] = {
        {"15000.00", "15000"},
        {"12.50", "12.5"},
        {".50", "0.5"},
        {"-.25", "-0.25"},
        {"0.00", "0"},
        {"-0.00", "0"},
        {"100", "100"},
        {"1000.0001", "1000.0001"},
        {"", ""},
        {"1.2.0", "1.2.0"},
        {"12.5abc", "12.5abc"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(decimalText(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

TEST(DbValueText, FloatsUseFifteenSignificantDigits)
{
    EXPECT_EQ(floatText(15000.0), "15000");
    EXPECT_EQ(floatText(0.1 + 0.2), "0.3");
    EXPECT_EQ(floatText(-2.5), "-2.5");
}

TEST(DbDiagnostics, StatementErrorNamesTheFirstRealError)
{
    const DbDiagnostics records{
        {5701, "Changed database context to 'FOOD'.", "01000"},
        {547, "The DELETE statement conflicted with the REFERENCE constraint.", "23000"},
        {3621, "The statement has been terminated.", "01000"}};
    EXPECT_EQ(primaryDiagnostic(records).number, 547);
    EXPECT_EQ(primaryDiagnostic({records[0], records[2]}).number, 5701);
    EXPECT_EQ(primaryDiagnostic({}).number, -1);
    EXPECT_FALSE(primaryDiagnostic({}).description.isEmpty());
}
