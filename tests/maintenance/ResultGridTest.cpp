#include "maintenance/ResultGrid.h"

#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ResultGrid, HeaderTextWidthAndAlignment)
{
    constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    struct
    {
        const GridLayout& (*layout)();
        int column;
        const char* header;
        int widthPixels;
        Qt::Alignment alignment;
    } const columns[] = {
        {openTableGridLayout, 1, "테이블번호", 64, left},
        {openTableGridLayout, 3, "날짜", 145, Qt::AlignCenter},
        {payCancelGridLayout, 1, "결제일시", 147, Qt::AlignCenter},
        {payCancelGridLayout, 3, "승인번호", 89, Qt::AlignCenter},
        {deliveryGridLayout, 5, "배달등록일시", 137, Qt::AlignCenter},
    };
    for (const auto& c : columns) {
        SCOPED_TRACE(c.header);
        ResultGrid grid(c.layout());
        EXPECT_EQ(grid.text(0, c.column), QString::fromUtf8(c.header));
        EXPECT_EQ(grid.columnWidth(c.column), c.widthPixels);
        EXPECT_EQ(
            Qt::Alignment(
                grid.model()->headerData(c.column, Qt::Horizontal, Qt::TextAlignmentRole).toInt()),
            c.alignment);
    }
}

TEST(ResultGrid, StartsWithHeaderAndFortyNineEmptyRowsAndAHiddenFirstColumn)
{
    ResultGrid grid(deliveryGridLayout());
    EXPECT_EQ(grid.rowCount(), 50);
    EXPECT_EQ(grid.columnCount(), 6);
    EXPECT_TRUE(grid.isColumnHidden(0));
    EXPECT_EQ(grid.text(0, 0), QString());
    EXPECT_EQ(grid.text(49, 5), QString());
    EXPECT_EQ(grid.font().family(), QStringLiteral("휴먼모음T"));
    EXPECT_EQ(grid.font().pointSizeF(), 9.0);
    EXPECT_FALSE(grid.font().bold());
}

TEST(ResultGrid, RowCountCountsTheHeaderRowAndCellsOutsideReadEmpty)
{
    ResultGrid grid(openTableGridLayout());
    grid.setRowCount(3);
    grid.setText(2, 2, QStringLiteral("A-1"));
    grid.setText(5, 1, QStringLiteral("x"));
    grid.setText(1, 9, QStringLiteral("x"));
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.text(2, 2), QStringLiteral("A-1"));
    EXPECT_EQ(grid.text(5, 1), QString());
    EXPECT_EQ(grid.text(1, 9), QString());
    EXPECT_EQ(grid.text(-1, 1), QString());

    grid.setRowCount(1);
    EXPECT_EQ(grid.text(0, 2), QStringLiteral("전표번호")); // the header survives
    grid.setRowCount(3);                                    // grown rows come back empty
    EXPECT_EQ(grid.text(2, 2), QString());
    grid.setRowCount(0); // never below the header
    EXPECT_EQ(grid.rowCount(), 1);
}

TEST(ResultGrid, GeneralCellsPutNumbersRightAndTextLeft)
{
    ResultGrid grid(payCancelGridLayout()); // column 1 general, column 2 centred
    grid.setRowCount(3);
    grid.setText(1, 1, QStringLiteral("12500"));
    grid.setText(2, 1, QStringLiteral("현금"));
    grid.setText(1, 2, QStringLiteral("12500"));
    const auto alignment = [&](int row, int column) {
        return Qt::Alignment(grid.cellIndex(row, column).data(Qt::TextAlignmentRole).toInt());
    };
    EXPECT_EQ(alignment(1, 1), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(alignment(2, 1), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(alignment(1, 2), Qt::AlignCenter);
}

TEST(ResultGrid, CurrentRowFollowsClicksAndKeysUntilNewRowsCome)
{
    ResultGrid grid{openTableGridLayout()};
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    std::vector<QString> cells;
    for (int r = 1; r <= 5; ++r)
        cells.insert(cells.end(),
                     {QString(), QString::number(r), QString::number(1000 + r), QString(), {}});
    grid.replaceRows(5, std::move(cells));
    const auto click = [&](int row, int column) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          grid.visualRect(grid.cellIndex(row, column)).center());
    };

    EXPECT_EQ(grid.currentRow(), -1); // nothing picked yet
    click(3, 2);
    EXPECT_EQ(grid.currentRow(), 3);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.currentRow(), 4);
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(grid.currentRow(), 2);

    // Typing does not edit a cell.
    QTest::keyClicks(&grid, QStringLiteral("99"));
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(grid.text(2, 2), QStringLiteral("1002"));

    grid.replaceRows(1, std::vector<QString>(5));
    EXPECT_EQ(grid.currentRow(), -1);
    click(1, 2);
    ASSERT_EQ(grid.currentRow(), 1);
    grid.setRowCount(1);
    EXPECT_EQ(grid.currentRow(), -1);
}

} // namespace
