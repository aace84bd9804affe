#include "db/TextTable.h"

#include <gtest/gtest.h>

TEST(TextTable, StartsAsTheEmptyResultAndGrowsByRows)
{
    TextTable t;
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.columnCount(), 1);
    EXPECT_TRUE(t.cell(0, 0).isEmpty());

    t.reset(1, 3);
    t.setCell(0, 2, u"PE_TOT");
    t.appendRow();
    t.setCell(1, 0, u"12");
    t.setCell(1, 2, u"15000");
    t.appendRow();
    t.setCell(2, 1, u"전표");
    EXPECT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.cell(0, 2), "PE_TOT");
    EXPECT_TRUE(t.cell(0, 0).isEmpty());
    EXPECT_EQ(t.cell(1, 0), "12");
    EXPECT_TRUE(t.cell(1, 1).isEmpty());
    EXPECT_EQ(t.cell(1, 2), "15000");
    EXPECT_EQ(t.cell(2, 1), QStringLiteral("전표"));
    EXPECT_TRUE(t.cell(2, 0).isEmpty());
    EXPECT_TRUE(t.cell(2, 2).isEmpty());
    EXPECT_EQ(t.textSize(), 6 + 2 + 5 + 2);

    t.resetToEmpty();
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.columnCount(), 1);
    EXPECT_TRUE(t.cell(0, 0).isEmpty());
    EXPECT_EQ(t.textSize(), 0);
}

// Cells written out of order, rewritten longer or shorter, or emptied must leave every other
// cell as it was: each cell only knows where it ends.
TEST(TextTable, RewritingACellKeepsItsNeighbours)
{
    TextTable t;
    t.reset(3, 2);
    QString texts[3][2] = {
        {"DTD_NO", "DTD_TEL"}, {"1", QStringLiteral("김민준       ")}, {"", "010-1234-5678"}};
    for (int r = 2; r >= 0; --r) // backwards: every write lands before text already there
        for (int c = 1; c >= 0; --c)
            t.setCell(r, c, texts[r][c]);
    auto expectAll = [&](const char* when) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c)
                EXPECT_EQ(t.cell(r, c), texts[r][c]) << when << " " << r << "," << c;
    };
    expectAll("written backwards");

    struct Rewrite
    {
        int row, column;
        QString text;
    };
    const Rewrite rewrites[] = {
        {1, 0, "123456789"},                           // longer, in the middle
        {1, 0, "7"},                                   // shorter again
        {0, 0, ""},                                    // emptied, the very first cell
        {2, 1, QStringLiteral("배달 주소가 긴 고객")}, // the last cell
        {2, 0, "0"},                                   // an empty cell filled
    };
    for (const Rewrite& w : rewrites) {
        t.setCell(w.row, w.column, w.text);
        texts[w.row][w.column] = w.text;
        expectAll(qPrintable(w.text));
    }
}

TEST(TextTable, CopiesAreIndependent)
{
    TextTable a;
    a.reset(1, 2);
    a.setCell(0, 0, u"A");
    a.appendRow();
    a.setCell(1, 1, QStringLiteral("원본"));
    TextTable b = a;
    b.setCell(1, 1, QStringLiteral("사본"));
    b.appendRow();
    EXPECT_EQ(a.cell(1, 1), QStringLiteral("원본"));
    EXPECT_EQ(a.rowCount(), 2);
    EXPECT_EQ(b.cell(1, 1), QStringLiteral("사본"));
    EXPECT_EQ(b.cell(0, 0), "A");
    EXPECT_EQ(b.rowCount(), 3);
}

TEST(TextTable, ManyRowsAppendedInOrderReadBack)
{
    TextTable t;
    t.reset(1, 3);
    const int records = 20000;
    for (int r = 1; r <= records; ++r) {
        t.appendRow();
        t.setCell(r, 0, QString::number(r));
        if (r % 3) // every third row keeps a NULL in the middle
            t.setCell(r, 1, QStringLiteral("주문%1").arg(r));
        t.setCell(r, 2, QString(r % 7, u' '));
    }
    ASSERT_EQ(t.rowCount(), records + 1);
    for (int r : {1, 2, 3, 4999, records}) {
        EXPECT_EQ(t.cell(r, 0), QString::number(r));
        EXPECT_EQ(t.cell(r, 1), r % 3 ? QStringLiteral("주문%1").arg(r) : QString());
        EXPECT_EQ(t.cellView(r, 2).size(), r % 7);
    }
}
