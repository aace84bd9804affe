#include "db/TextTable.h"

#include <gtest/gtest.h>

TEST(TextTable, StartsAsTheEmptyResultAndGrowsByRows)
{
    TextTable t;
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.columnCount(), 1);
    EXPECT_TRUE(t.cell(0, 0).isEmpty());

    t.reset(1, 3);
    t.cell(0, 2) = "PE_TOT";
    QString* row = t.appendRow();
    row[0] = "12";
    row[2] = "15000";
    t.appendRow()[1] = "전표";
    EXPECT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.cell(0, 2), "PE_TOT");
    EXPECT_EQ(t.cell(1, 0), "12");
    EXPECT_EQ(t.cell(1, 2), "15000");
    EXPECT_EQ(t.cell(2, 1), "전표");
    EXPECT_TRUE(t.cell(2, 0).isEmpty());

    t.resetToEmpty();
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.columnCount(), 1);
    EXPECT_TRUE(t.cell(0, 0).isEmpty());
}
