#include "maintenance/DeliveryArea.h"
#include "AreaHarness.h"
#include "maintenance/FillResultGrid.h"
#include "maintenance/SqlTexts.h"
#include "maintenance/WorkSteps.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString tag = QStringLiteral("배달전체삭제");
const QString remaining = QStringLiteral("SELECT COUNT(*) FROM DTD");

// The demo's unfinished deliveries by date: 06-10: 1, 3; 06-11: 4; 06-12: 8; 06-13: 15;
// 06-14: 16, 17, 18. Every other row is finished (status 3-8 or above 9, 'Y') or has a NULL flag.
class DeliveryAreaTest : public ::testing::TestWithParam<AreaHarness::Backend>
{
protected:
    AreaHarness h{GetParam()};
    DeliveryArea area{h.context};

    void chooseRange() { area.OPT1[0]->click(); }
    void search() { QTest::mouseClick(area.cmd_DTD_Serch, Qt::LeftButton); }
    void clickDelete() { QTest::mouseClick(area.CMD_DTD_DELETE, Qt::LeftButton); }
    void searchRange(const QString& from, const QString& to)
    {
        chooseRange();
        area.TXT_Date->setText(from);
        area.Txt_Date2->setText(to);
        search();
    }
    QStringList sequences() { return h.column(*area.flex2, 1); }
    QString left()
    {
        TextTable t;
        qint32 rows = 0, columns = 0;
        h.db->DB_Query(QStringLiteral("SELECT DTD_SEQ FROM DTD ORDER BY DTD_SEQ"), t, rows,
                       columns);
        QStringList out;
        for (int r = 1; r <= rows; ++r)
            out << t.cell(r, 0);
        return out.join(QLatin1Char(','));
    }
};

TEST_P(DeliveryAreaTest, AllDatesSearchListsUnfinishedDeliveriesByTimeAndDeleteRemovesExactlyThose)
{
    search();
    EXPECT_EQ(area.TXT_COUNT->text(), QStringLiteral("8"));
    EXPECT_EQ(sequences(), (QStringList{"8", "1", "16", "17", "3", "4", "18", "15"}));
    EXPECT_EQ(area.flex2->text(2, 3), QStringLiteral("김민준"));
    EXPECT_EQ(area.lbl_show->text(), QStringLiteral("조회완료"));
    EXPECT_TRUE(h.boxes.shown().empty());

    h.boxes.answer(true);
    clickDelete();
    EXPECT_EQ(left(), QStringLiteral("2,5,6,7,9,10,11,12,13,14,19,20"));
    EXPECT_EQ(area.flex2->rowCount(), 1);
    EXPECT_EQ(area.TXT_COUNT->text(), QStringLiteral("0"));
    EXPECT_EQ(area.lbl_show->text(), QStringLiteral("삭제완료"));
    EXPECT_EQ(h.onlyEntry(), AreaHarness::entry(tag, SqlTexts::deliveryDeleteAll(Dialect::Sqlite)));
}

TEST_P(DeliveryAreaTest, RangeIncludesBothEndDatesAndNormalisesTheBoxes)
{
    searchRange(QStringLiteral("2024/6/11"), QStringLiteral("20240613"));
    EXPECT_EQ(area.TXT_Date->text(), QStringLiteral("2024-06-11"));
    EXPECT_EQ(area.Txt_Date2->text(), QStringLiteral("2024-06-13"));
    EXPECT_EQ(sequences(), (QStringList{"8", "4", "15"}));

    h.boxes.answer(true);
    clickDelete();
    EXPECT_EQ(left(), QStringLiteral("1,2,3,5,6,7,9,10,11,12,13,14,16,17,18,19,20"));
    EXPECT_TRUE(area.TXT_Date->text().isEmpty());
    EXPECT_TRUE(area.Txt_Date2->text().isEmpty());
    EXPECT_EQ(area.lbl_show->text(), QStringLiteral("삭제완료"));
    EXPECT_EQ(h.onlyEntry(),
              AreaHarness::entry(tag, QStringLiteral("DELETE FROM DTD\r\nWHERE (DTD_EDATE BETWEEN "
                                                     "'2024-06-11'\r\n AND '2024-06-13'\r\n"
                                                     " AND(DTD_STATUS < 3 OR DTD_STATUS=9)AND "
                                                     "DTD_CALGU <>'Y')")));
}

TEST_P(DeliveryAreaTest, RangeSearchWithAnEmptyBoxOnlyAsksForTheDates)
{
    search(); // all dates: 8 rows
    chooseRange();
    search(); // the switch emptied the grid; this search is refused
    EXPECT_EQ(h.boxes.texts(), QStringList{WorkTexts::datesRequired});
    EXPECT_TRUE(h.boxes.shown()[0].title.isEmpty());

    area.TXT_Date->setText(QStringLiteral("2024/6/11"));
    h.boxes.clear();
    search();
    EXPECT_EQ(h.boxes.texts(), QStringList{WorkTexts::datesRequired});
    EXPECT_EQ(area.TXT_Date->text(), QStringLiteral("2024/6/11"));
    EXPECT_EQ(area.TXT_COUNT->text(), QStringLiteral("0"));
}

TEST_P(DeliveryAreaTest, EmptyResultKeepsEarlierRowsWithCountZero)
{
    // Switching modes empties the grid, so the earlier rows come from a range search.
    searchRange(QStringLiteral("2024-06-14"), QStringLiteral("2024-06-14"));
    ASSERT_EQ(sequences(), (QStringList{"16", "17", "18"}));
    searchRange(QStringLiteral("2024-06-14"), QStringLiteral("2024-06-10"));
    EXPECT_EQ(h.boxes.texts(), QStringList{noDataText});
    EXPECT_EQ(sequences(), (QStringList{"16", "17", "18"}));
    EXPECT_EQ(area.TXT_COUNT->text(), QStringLiteral("0"));

    clickDelete(); // count 0: nothing
    EXPECT_EQ(h.boxes.shown().size(), 1u);
    EXPECT_EQ(h.number(remaining), 20);
}

TEST_P(DeliveryAreaTest, DeleteUsesTheDatesOfTheSearchNotTheEditedBoxes)
{
    searchRange(QStringLiteral("2024-06-11"), QStringLiteral("2024-06-11"));
    ASSERT_EQ(sequences(), QStringList{"4"});
    area.TXT_Date->setText(QStringLiteral("2024-06-01"));
    area.Txt_Date2->setText(QStringLiteral("2024-06-30"));
    h.boxes.answer(true);
    clickDelete();
    EXPECT_EQ(h.number(remaining), 19);
    EXPECT_EQ(h.number(QStringLiteral("SELECT COUNT(*) FROM DTD WHERE DTD_SEQ=4")), 0);
    EXPECT_TRUE(h.onlyEntry().contains(QStringLiteral("'2024-06-11'\r\n AND '2024-06-11'")));
}

// A typed count is no search; a mode switch empties the grid and the count.
TEST_P(DeliveryAreaTest, DeleteWithoutAShownSearchSendsNothing)
{
    area.TXT_COUNT->setText(QStringLiteral("3"));
    clickDelete();
    EXPECT_EQ(h.boxes.texts(), QStringList{WorkTexts::searchFirst});

    search();
    chooseRange();
    EXPECT_EQ(area.TXT_COUNT->text(), QStringLiteral("0"));
    clickDelete();
    EXPECT_EQ(h.boxes.shown().size(), 1u);

    // The count typed after the switch must not bring back the all-dates rows left behind.
    area.TXT_COUNT->setText(QStringLiteral("8"));
    h.boxes.answer(true);
    clickDelete();
    EXPECT_EQ(h.boxes.texts(), (QStringList{WorkTexts::searchFirst, WorkTexts::searchFirst}));
    EXPECT_EQ(h.number(remaining), 20);
    EXPECT_TRUE(h.logText().isEmpty());
}

TEST_P(DeliveryAreaTest, NoAnswerChangesNothing)
{
    searchRange(QStringLiteral("2024-06-10"), QStringLiteral("2024-06-14"));
    h.boxes.answer(false);
    clickDelete();
    EXPECT_EQ(h.number(remaining), 20);
    EXPECT_EQ(area.TXT_COUNT->text(), QStringLiteral("8"));
    EXPECT_EQ(area.TXT_Date->text(), QStringLiteral("2024-06-10"));
    EXPECT_EQ(area.lbl_show->text(), QStringLiteral("조회완료"));
    EXPECT_TRUE(h.logText().isEmpty());
}

// Quotes, comments and statement separators typed into the date boxes stay inside the dates.
TEST_P(DeliveryAreaTest, HostileDateTextsNeverRunAsSql)
{
    searchRange(QStringLiteral("2024-06-10' OR 1=1 --"),
                QStringLiteral("2024-06-14'; DELETE FROM PE; --"));
    EXPECT_EQ(area.TXT_Date->text(), QStringLiteral("2024-06-10' OR 1=1 --"));
    // Compared as texts, the first date sorts after 06-10 and the last after 06-14.
    EXPECT_EQ(sequences(), (QStringList{"8", "16", "17", "4", "18", "15"}));

    h.boxes.answer(true);
    clickDelete();
    EXPECT_EQ(left(), QStringLiteral("1,2,3,5,6,7,9,10,11,12,13,14,19,20"));
    EXPECT_EQ(h.number(QStringLiteral("SELECT COUNT(*) FROM PE")), 8);
    EXPECT_TRUE(h.onlyEntry().contains(QStringLiteral(
        "BETWEEN '2024-06-10'' OR 1=1 --'\r\n AND '2024-06-14''; DELETE FROM PE; --'")));
}

TEST_P(DeliveryAreaTest, FailedDeleteKeepsRowsGridCountAndDates)
{
    searchRange(QStringLiteral("2024-06-10"), QStringLiteral("2024-06-12"));
    h.run(QStringLiteral("CREATE TRIGGER keep_dtd BEFORE DELETE ON DTD "
                         "BEGIN SELECT RAISE(ABORT, '배달 삭제 불가'); END"));
    h.boxes.answer(true);
    clickDelete();

    EXPECT_EQ(h.number(remaining), 20);
    EXPECT_EQ(sequences(), (QStringList{"8", "1", "3", "4"}));
    EXPECT_EQ(area.TXT_COUNT->text(), QStringLiteral("4"));
    EXPECT_EQ(area.TXT_Date->text(), QStringLiteral("2024-06-10"));
    EXPECT_EQ(area.Txt_Date2->text(), QStringLiteral("2024-06-12"));
    EXPECT_NE(area.lbl_show->text(), QStringLiteral("삭제완료"));
    ASSERT_EQ(h.boxes.shown().size(), 2u);
    EXPECT_TRUE(h.boxes.shown()[1].text.contains(QStringLiteral("배달 삭제 불가")));
    EXPECT_TRUE(h.onlyEntry().contains(QStringLiteral("실행실패! ")));
}

TEST_P(DeliveryAreaTest, FailedSearchKeepsEarlierRowsAndShowsTheError)
{
    search();
    h.boxes.clear();
    h.run(QStringLiteral("ALTER TABLE DTD RENAME TO DTD_OLD"));
    search();
    EXPECT_EQ(area.flex2->rowCount(), 9);
    EXPECT_EQ(area.TXT_COUNT->text(), QStringLiteral("0"));
    ASSERT_EQ(h.boxes.shown().size(), 1u);
    EXPECT_EQ(h.boxes.shown()[0].title, WorkTexts::searchFailedTitle);
    EXPECT_TRUE(h.boxes.shown()[0].text.contains(QStringLiteral("DTD")));
}

INSTANTIATE_TEST_SUITE_P(Backends, DeliveryAreaTest,
                         ::testing::Values(AreaHarness::Backend::Sqlite,
                                           AreaHarness::Backend::Odbc),
                         backendName);

} // namespace
