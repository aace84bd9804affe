#include "window/ResultGrid.h"
#include "window/FillResultGrid.h"
#include "window/WorkSteps.h"

#include "operations/GridLayouts.h"
#include "support/CheckTable.h"
#include "support/ScriptedMessageBoxes.h"

#include <QLineEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

class GridFill : public ::testing::Test
{
protected:
    void fill(const TextTable& table, int n)
    {
        FillResultGrid(grid, count, table, n, openTableGridLayout().columnMap(), boxes);
    }
    ResultGrid grid{openTableGridLayout()};
    QLineEdit count{QStringLiteral("7")};
    ScriptedMessageBoxes boxes;
};

// Beyond the 32,766 rows the old grid could count, and kept whatever becomes of the table.
TEST_F(GridFill, EveryRecordIsShownAndTheGridOwnsItsRows)
{
    {
        TextTable table = checkTable(100000);
        fill(table, 100000);
        table.setCell(1, 1, u"A9999");
        table.resetToEmpty();
    }
    EXPECT_EQ(count.text(), QStringLiteral("100000"));
    EXPECT_EQ(grid.rowCount(), 100001);
    EXPECT_EQ(grid.text(100000, 2), QStringLiteral("A100000"));
    EXPECT_EQ(grid.text(1, 2), QStringLiteral("A1"));
    EXPECT_EQ(grid.text(3, 3), QStringLiteral("2026/12/06 10:03:00"));
    EXPECT_EQ(grid.model()->headerData(2, Qt::Horizontal).toString(), grid.text(0, 2));
    EXPECT_FALSE(grid.model()->headerData(2, Qt::Vertical).isValid()); // no row numbers
    fill(checkTable(2), 2);
    EXPECT_EQ(grid.rowCount(), 3);
}

TEST_F(GridFill, NoRecordsZeroTheCountBeforeTheBoxAndKeepTheRows)
{
    fill(checkTable(3), 3);
    struct CountAtBox : MessageBoxes
    {
        QLineEdit* box = nullptr;
        QStringList seen;
        bool askYesNo(const QString&, const QString&) override { return false; }
        void inform(const QString& text, const QString&, Buttons, Icon) override
        {
            seen << box->text() << text;
        }
    } recorder;
    recorder.box = &count;
    FillResultGrid(grid, count, TextTable(), 0, openTableGridLayout().columnMap(), recorder);
    EXPECT_EQ(recorder.seen, (QStringList{QStringLiteral("0"), noDataText}));
    EXPECT_EQ(grid.rowCount(), 4);
}

// The vertical scroll bar takes its strip from a column that can spare it: the amount, the last
// column, stays whole whether the grid scrolls or not.
TEST_F(GridFill, TheAmountColumnIsNeverUnderTheScrollBar)
{
    grid.setGeometry(0, 0, 405, 145);
    grid.show();
    const int last = grid.columnCount() - 1;
    const auto amountFits = [&] {
        return grid.columnViewportPosition(last) + grid.columnWidth(last) <=
               grid.viewport()->width();
    };
    fill(checkTable(3), 3);
    EXPECT_TRUE(amountFits());
    fill(checkTable(40), 40);
    ASSERT_TRUE(grid.verticalScrollBar()->isVisible());
    EXPECT_TRUE(amountFits());
    EXPECT_GT(grid.columnWidth(last), 60);
}

TEST(CountBox, OnlyAWholeCountAboveZeroOpensTheDelete)
{
    const std::pair<const char*, bool> counts[] = {{" 5 ", true}, {"32766", true}, {"0", false},
                                                   {"-1", false}, {"3건", false},  {"2.5", false}};
    for (const auto& [count, opens] : counts)
        EXPECT_EQ(countAllowsDelete(QString::fromUtf8(count)), opens) << count;
}

} // namespace
