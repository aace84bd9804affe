#include "db/TextTable.h"

#include <gtest/gtest.h>

namespace {

// Cells written out of order, rewritten longer or shorter, or emptied must leave every other
// cell as it was: each cell only knows where it ends.
TEST(TextTable, WritingACellKeepsEveryOtherCell)
{
    TextTable t;
    EXPECT_EQ(t.rowCount() * t.columnCount(), 1); // the empty result: one empty cell
    t.reset(2, 2);
    t.appendRow();
    QString texts[3][2] = {
        {"DTD_NO", "DTD_TEL"}, {"1", QStringLiteral("김민준       ")}, {"", "010-1234-5678"}};
    for (int r = 2; r >= 0; --r) // backwards: every write lands before text already there
        for (int c = 1; c >= 0; --c)
            t.setCell(r, c, texts[r][c]);
    const std::tuple<int, int, QString> rewrites[] = {{1, 0, "123456789"},
                                                      {1, 0, "7"},
                                                      {0, 0, ""},
                                                      {2, 1, QStringLiteral("배달 주소")},
                                                      {2, 0, "0"}};
    for (const auto& [row, column, text] : rewrites) {
        t.setCell(row, column, text);
        texts[row][column] = text;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c)
                EXPECT_EQ(t.cell(r, c), texts[r][c]) << "after " << qPrintable(text);
    }
    EXPECT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.textSize(), 7 + 1 + 10 + 1 + 5);

    TextTable copy = t; // copies are independent
    copy.setCell(1, 1, QStringLiteral("사본"));
    EXPECT_EQ(t.cell(1, 1), texts[1][1]);
    t.resetToEmpty();
    EXPECT_EQ(t.textSize(), 0);
    EXPECT_EQ(copy.cell(2, 1), QStringLiteral("배달 주소"));
}

} // namespace
