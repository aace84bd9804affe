#include "cli/Listing.h"
#include "operations/DateNormalise.h"
#include "operations/DateTimeText.h"
#include "operations/GridLayouts.h"
#include "window/FillResultGrid.h"
#include "window/WorkSteps.h"

#include "db/TextTable.h"
#include "support/ScriptedMessageBoxes.h"
#include "window/ResultGrid.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

// Open-table checks as a search hands them back: field names in row 0, records below.
TextTable checks(int count)
{
    TextTable table;
    table.reset(count + 1, 4);
    for (int i = 1; i <= count; ++i) {
        table.setCell(i, 0, QString::number(i));
        table.setCell(i, 1, QStringLiteral(" A%1 ").arg(i));
        table.setCell(i, 2, QStringLiteral("2026-12-06 10:%1:00").arg(i % 60, 2, 10, QChar(u'0')));
    }
    return table;
}

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
        TextTable table = checks(100000);
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
    fill(checks(2), 2);
    EXPECT_EQ(grid.rowCount(), 3);
}

TEST_F(GridFill, NoRecordsZeroTheCountBeforeTheBoxAndKeepTheRows)
{
    fill(checks(3), 3);
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
    fill(checks(3), 3);
    EXPECT_TRUE(amountFits());
    fill(checks(40), 40);
    ASSERT_TRUE(grid.verticalScrollBar()->isVisible());
    EXPECT_TRUE(amountFits());
    EXPECT_GT(grid.columnWidth(last), 60);
}

TEST(TypedTexts, DatesAndCountsAreReadStrictly)
{
    const std::pair<const char*, const char*> dates[] = {{" 2017.2.5 ", "2017-02-05"},
                                                         {"2017-02-30", "2017-02-30"},
                                                         {"2017-02-15'--", "2017-02-15'--"}};
    for (const auto& [typed, expected] : dates)
        EXPECT_EQ(normaliseDate(QString::fromUtf8(typed)), QString::fromUtf8(expected)) << typed;

    const std::pair<const char*, bool> counts[] = {{" 5 ", true}, {"32766", true}, {"0", false},
                                                   {"-1", false}, {"3건", false},  {"2.5", false}};
    for (const auto& [count, opens] : counts)
        EXPECT_EQ(countAllowsDelete(QString::fromUtf8(count)), opens) << count;

    const std::pair<const char*, const char*> times[] = {
        {"2017-02-15", "2017/02/15 00:00:00"},
        {"2017-2-5 7:05", "2017/02/05 07:05:00"},
        {"2017-02-15T13:04:09.123", "2017/02/15 13:04:09"},
        {"2023-02-29", "2023-02-29"},
        {" 미정 ", " 미정 "}};
    for (const auto& [text, shown] : times)
        EXPECT_EQ(gridDateTimeText(QString::fromUtf8(text), DateTimeSeparators{}),
                  QString::fromUtf8(shown))
            << text;
    const DateTimeSeparators fi = separatorsOfFormats(QStringLiteral("dd.MM.yy"), "HH.mm");
    EXPECT_EQ(fi.date, QChar(u'.'));
    EXPECT_EQ(fi.time, QChar(u'.'));
}

} // namespace

namespace {

// What the command line writes: the grid's headers and cells, aligned by terminal width (a
// Hangul syllable takes two places), CSV with quoting only where needed, JSON by header.
TEST(Listing, TableCsvAndJsonCarryTheGridsCells)
{
    TextTable table = checks(2);
    table.setCell(2, 1, QStringLiteral("가,\"나\""));
    table.setCell(1, 0, QStringLiteral("123456789012345")); // wider than its header
    const Listing listing = Listing::of(openTableGridLayout(), table, 5);
    ASSERT_EQ(listing.rows.size(), 2u);  // never past the table
    EXPECT_EQ(listing.rows[0][1], "A1"); // trimmed as the grid shows it

    const QStringList lines = listingTable(listing).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    // Every row's third column starts at the same terminal place.
    const auto placeOfDate = [](const QString& line) {
        const qsizetype at = line.indexOf(QStringLiteral("2026/"));
        int width = 0;
        for (const QChar c : line.left(at))
            width += c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3 ? 2 : 1;
        return width;
    };
    EXPECT_EQ(placeOfDate(lines[2]), placeOfDate(lines[3]));
    EXPECT_GE(placeOfDate(lines[3]), 4 + 2 + 7 + 2); // past the header 전표번호 and "가,"나""

    EXPECT_TRUE(listingCsv(listing).endsWith(
        QStringLiteral("2,\"가,\"\"나\"\"\",2026/12/06 10:02:00,\r\n")));
    EXPECT_EQ(QJsonDocument::fromJson(listingJson(listing).toUtf8())[1]
                  .toObject()
                  .value(QStringLiteral("전표번호"))
                  .toString(),
              QStringLiteral("가,\"나\""));
}

} // namespace
