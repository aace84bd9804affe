#include "maintenance/FillResultGrid.h"

#include "db/TextTable.h"
#include "maintenance/ResultGrid.h"
#include "support/ScriptedMessageBoxes.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

// A query result as DB_Query hands it back: field names in row 0, records below.
TextTable makeTable(const QStringList& fields, const std::vector<QStringList>& records)
{
    TextTable table;
    table.reset(int(records.size()) + 1, int(fields.size()));
    for (int c = 0; c < fields.size(); ++c)
        table.setCell(0, c, fields[c]);
    for (size_t r = 0; r < records.size(); ++r)
        for (int c = 0; c < records[r].size(); ++c)
            table.setCell(int(r) + 1, c, records[r][c]);
    return table;
}

// Open-table checks: PE_NTBID, PE_ID, PE_DATE, PE_TOT.
TextTable checks(int count)
{
    std::vector<QStringList> records;
    for (int i = 1; i <= count; ++i)
        records.push_back({QString::number(i), QStringLiteral("A%1").arg(i, 4, 10, QChar(u'0')),
                           QStringLiteral("2026-12-06 10:%1:00").arg(i % 60, 2, 10, QChar(u'0')),
                           QString::number(1000 * i)});
    return makeTable({"PE_NTBID", "PE_ID", "PE_DATE", "PE_TOT"}, records);
}

class FillResultGridTest : public ::testing::Test
{
protected:
    void fill(const TextTable& table, qint32 n)
    {
        FillResultGrid(grid, count, table, n, openTableGridLayout().columnMap(), boxes);
    }

    ResultGrid grid{openTableGridLayout()};
    QLineEdit count{QStringLiteral("0")};
    ScriptedMessageBoxes boxes;
};

TEST_F(FillResultGridTest, WritesEveryRecordIntoItsMappedColumns)
{
    const TextTable table = makeTable({"PE_NTBID", "PE_ID", "PE_DATE", "PE_TOT"},
                                      {{"  12  ", "A0001   ", "2026-12-06 09:30:05", " 15000"},
                                       {QString(), QString(), QString(), QString()}, // NULLs
                                       {"3", "B 7", "2026-12-06", "0"}});
    fill(table, 3);

    EXPECT_EQ(count.text(), QStringLiteral("3"));
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_EQ(grid.rowCount(), 4);
    const std::vector<QStringList> expected = {
        {"12", "A0001", "2026/12/06 09:30:05", "15000"},
        {"", "", "", ""},
        {"3", "B 7", "2026/12/06 00:00:00", "0"},
    };
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(grid.text(r, 0), QString()) << "hidden column, row " << r;
        for (int c = 1; c <= 4; ++c)
            EXPECT_EQ(grid.text(r, c), expected[size_t(r - 1)][c - 1]) << r << "," << c;
    }
    EXPECT_EQ(grid.text(0, 1), QStringLiteral("테이블번호"));
}

TEST_F(FillResultGridTest, TrimsBlanksOnlyAndNeverTrimsADateTimeColumn)
{
    // A date text that does not read as a date goes in as it stands, blanks and all.
    const TextTable table = makeTable({"PE_NTBID", "PE_ID", "PE_DATE", "PE_TOT"},
                                      {{"\t7 ", " 김밥천국  ", " 미정 ", "   "}});
    fill(table, 1);
    EXPECT_EQ(grid.text(1, 1), QStringLiteral("\t7"));
    EXPECT_EQ(grid.text(1, 2), QStringLiteral("김밥천국"));
    EXPECT_EQ(grid.text(1, 3), QStringLiteral(" 미정 "));
    EXPECT_EQ(grid.text(1, 4), QString());
}

TEST_F(FillResultGridTest, ASmallerResultLeavesNoRowOfTheEarlierOne)
{
    fill(checks(10), 10);
    ASSERT_EQ(grid.rowCount(), 11);
    fill(checks(2), 2);
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(count.text(), QStringLiteral("2"));
    EXPECT_EQ(grid.text(2, 2), QStringLiteral("A0002"));
}

TEST_F(FillResultGridTest, NoRecordsShowsTheNoDataBoxOnceAndKeepsTheGrid)
{
    fill(checks(10), 10);
    boxes.answer(false); // Cancel makes no difference
    fill(TextTable(), 0);

    EXPECT_EQ(count.text(), QStringLiteral("0"));
    ASSERT_EQ(boxes.shown().size(), 1u);
    const auto& box = boxes.shown()[0];
    EXPECT_EQ(box.kind, ScriptedMessageBoxes::Shown::Kind::Message);
    EXPECT_EQ(box.text, QStringLiteral("데이터가 존재하지 않습니다"));
    EXPECT_EQ(box.title, QStringLiteral("데이터 확인"));
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::OkCancel);
    EXPECT_EQ(box.icon, MessageBoxes::Icon::None);
    EXPECT_EQ(grid.rowCount(), 11);
    EXPECT_EQ(grid.text(10, 2), QStringLiteral("A0010"));
}

TEST_F(FillResultGridTest, TheCountBoxIsSetBeforeTheNoDataBoxShows)
{
    count.setText(QStringLiteral("7"));
    struct CountAtBox : MessageBoxes
    {
        QLineEdit* box;
        QString seen;
        bool askYesNo(const QString&, const QString&) override { return false; }
        void inform(const QString&, const QString&, Buttons, Icon) override { seen = box->text(); }
    } recorder;
    recorder.box = &count;
    FillResultGrid(grid, count, TextTable(), 0, openTableGridLayout().columnMap(), recorder);
    EXPECT_EQ(recorder.seen, QStringLiteral("0"));
}

TEST_F(FillResultGridTest, FieldsTheQueryDidNotReturnStayEmpty)
{
    // A table with fewer columns than the map asks for, and a count beyond its rows.
    const TextTable table = makeTable({"DTD_NO", "DTD_TEL"}, {{"1", "010-1234-5678"}});
    ResultGrid deliveries(deliveryGridLayout());
    FillResultGrid(deliveries, count, table, 3, deliveryGridLayout().columnMap(), boxes);
    EXPECT_EQ(count.text(), QStringLiteral("3"));
    ASSERT_EQ(deliveries.rowCount(), 2);
    EXPECT_EQ(deliveries.text(1, 2), QStringLiteral("010-1234-5678"));
    EXPECT_EQ(deliveries.text(1, 3), QString());
    EXPECT_EQ(deliveries.text(1, 5), QString());
}

TEST_F(FillResultGridTest, AHundredThousandRecordsFillCompletely)
{
    // Beyond the 32,766 rows the old grid could count: every record is shown.
    const int n = 100000;
    fill(checks(n), n);
    EXPECT_EQ(count.text(), QStringLiteral("100000"));
    EXPECT_EQ(grid.rowCount(), n + 1);
    EXPECT_EQ(grid.text(n, 2), QStringLiteral("A100000"));
    EXPECT_EQ(grid.text(32767, 1), QStringLiteral("32767"));
}

// The grid shapes its cells from the search's table when they are read, so neither the end of
// the caller's table nor a later change to it may reach what the grid shows.
TEST_F(FillResultGridTest, TheGridKeepsItsRowsWhateverBecomesOfTheCallersTable)
{
    {
        TextTable table = checks(3);
        fill(table, 3);
        table.setCell(1, 1, u"A9999");
        table.resetToEmpty();
    }
    EXPECT_EQ(grid.text(1, 2), QStringLiteral("A0001"));
    EXPECT_EQ(grid.text(3, 3), QStringLiteral("2026/12/06 10:03:00"));
}

TEST_F(FillResultGridTest, WrittenCellsLieOverTheRowsAndGoWithThem)
{
    fill(checks(4), 4);
    grid.setText(2, 2, QStringLiteral("취소됨"));
    grid.setText(4, 1, QStringLiteral("끝"));
    EXPECT_EQ(grid.text(2, 2), QStringLiteral("취소됨"));
    EXPECT_EQ(grid.text(2, 1), QStringLiteral("2")); // its neighbours still come from the table
    EXPECT_EQ(grid.cellIndex(2, 2).data().toString(), QStringLiteral("취소됨"));

    grid.setRowCount(3); // cuts rows 3 and 4 off, then they come back empty
    grid.setRowCount(5);
    EXPECT_EQ(grid.text(2, 2), QStringLiteral("취소됨"));
    for (int r : {3, 4})
        for (int c = 1; c <= 4; ++c)
            EXPECT_EQ(grid.text(r, c), QString()) << r << "," << c;

    fill(checks(4), 4); // a new search forgets what was written
    EXPECT_EQ(grid.text(2, 2), QStringLiteral("A0002"));
    EXPECT_EQ(grid.text(4, 1), QStringLiteral("4"));
}

TEST_F(FillResultGridTest, ClearLeavesTheHeaderAndAZeroCount)
{
    fill(checks(4), 4);
    ClearResultGrid(grid, count);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(count.text(), QStringLiteral("0"));
    EXPECT_EQ(grid.text(0, 4), QStringLiteral("금액"));
}

} // namespace
