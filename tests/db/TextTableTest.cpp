#include "db/TextTable.h"

#include <gtest/gtest.h>

// Cells written out of order, rewritten longer or shorter, or emptied must leave every other
// cell as it was: each cell only knows where it ends.
TEST(TextTable, WritingACellKeepsEveryOtherCell)
{
    TextTable t;
    EXPECT_EQ(t.rowCount() * t.columnCount(), 1); // the empty result: one empty cell
    t.reset(2, 2);
    t.appendRow();
    QString texts[3][2] = {};
    // Backwards first, so that every write lands before text already there.
    // clang-format off
    const std::tuple<int, int, QString> writes[] = {
        {2, 1, "010-1234-5678"}, {1, 1, QStringLiteral("김민준  ")}, {1, 0, "1"}, {0, 1, "DTD_TEL"},
        {0, 0, "DTD_NO"}, {1, 0, "123456789"}, {1, 0, "7"}, {0, 0, ""},
        {2, 1, QStringLiteral("배달 주소")}, {2, 0, "0"}};
    // clang-format on
    for (const auto& [row, column, text] : writes) {
        t.setCell(row, column, text);
        texts[row][column] = text;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c)
                EXPECT_EQ(t.cell(r, c), texts[r][c]) << "after " << qPrintable(text);
    }
    EXPECT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.textSize(), 7 + 1 + 5 + 1 + 5);
}
