#include "maintenance/OpenTableArea.h"
#include "AreaHarness.h"
#include "maintenance/FillResultGrid.h"
#include "maintenance/WorkSteps.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString openChecks = QStringLiteral("SELECT COUNT(*) FROM PE WHERE PE_CK='0'");
const QString allChecks = QStringLiteral("SELECT COUNT(*) FROM PE");
const QString tag = QStringLiteral("현황삭제");

class OpenTableAreaTest : public ::testing::Test
{
protected:
    AreaHarness h;
    OpenTableArea area{h.context};

    void search()
    {
        QTest::mouseClick(area.cmd_TBSerch, Qt::LeftButton);
        ASSERT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("5"));
        h.boxes.clear();
    }
    void clickDelete() { QTest::mouseClick(area.cmd_delete, Qt::LeftButton); }
};

TEST_F(OpenTableAreaTest, SearchListsTheOpenChecksAndDeleteAllRemovesThoseOnly)
{
    QTest::mouseClick(area.cmd_TBSerch, Qt::LeftButton);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("5"));
    EXPECT_TRUE(h.boxes.shown().empty());
    EXPECT_EQ(area.FLEX->rowCount(), 6);
    EXPECT_EQ(h.column(*area.FLEX, 2), (QStringList{"1003", "1004", "1005", "1006", "1008"}));
    // Fixed-width table numbers come without their padding; date-times in the grid pattern.
    EXPECT_EQ(area.FLEX->text(2, 1), QStringLiteral("12"));
    EXPECT_TRUE(area.FLEX->text(1, 3).contains(QStringLiteral("18:20:01")));

    AreaHarness::choose(*area.FLEX, 2);
    h.boxes.answer(true);
    clickDelete();

    EXPECT_EQ(h.boxes.texts(), QStringList{WorkTexts::confirmDelete});
    EXPECT_TRUE(h.boxes.shown()[0].title.isEmpty());
    EXPECT_EQ(h.number(openChecks), 0);
    EXPECT_EQ(h.number(allChecks), 3);
    EXPECT_EQ(area.FLEX->rowCount(), 1);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("0"));
    EXPECT_EQ(h.onlyEntry(),
              AreaHarness::entry(tag, QStringLiteral("DELETE FROM PE WHERE PE_CK='0'")));
}

TEST_F(OpenTableAreaTest, ChosenCheckDeleteRemovesTheCurrentRowsCheckOnly)
{
    search();
    area.OPT_TABLE[1]->setChecked(true);
    AreaHarness::choose(*area.FLEX, 3);
    const QString check = area.FLEX->text(3, 2);
    ASSERT_EQ(check, QStringLiteral("1005"));
    h.boxes.answer(true);
    clickDelete();

    EXPECT_EQ(h.number(QStringLiteral("SELECT COUNT(*) FROM PE WHERE PE_ID=1005")), 0);
    EXPECT_EQ(h.number(openChecks), 4);
    EXPECT_EQ(area.FLEX->rowCount(), 1);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("0"));
    EXPECT_EQ(
        h.onlyEntry(),
        AreaHarness::entry(tag, QStringLiteral("DELETE FROM PE WHERE PE_CK='0'AND PE_ID ='1005'")));

    // The grid is empty and the count 0: a second click does nothing at all.
    h.boxes.clear();
    clickDelete();
    EXPECT_TRUE(h.boxes.shown().empty());
}

TEST_F(OpenTableAreaTest, ChosenCheckDeleteWithoutAChosenRowAsksForOneAndSendsNothing)
{
    area.OPT_TABLE[1]->setChecked(true);
    // Before any search: a typed count and an empty row picked in the fresh grid.
    area.TXT_COUNT_2->setText(QStringLiteral("1"));
    AreaHarness::choose(*area.FLEX, 1);
    clickDelete();
    EXPECT_EQ(h.boxes.texts(), QStringList{WorkTexts::chooseRow});

    // Picked before the search, so it no longer counts.
    search();
    clickDelete();
    EXPECT_EQ(h.boxes.texts(), QStringList{WorkTexts::chooseRow});
    EXPECT_EQ(h.number(openChecks), 5);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("5"));
    EXPECT_TRUE(h.logText().isEmpty());
}

TEST_F(OpenTableAreaTest, NoAnswerAndClosedCountGateChangeNothing)
{
    // Count "0" at start, then texts that are not a positive number: no question at all.
    for (const char* count : {"0", "", "abc", "-2", "3abc"}) {
        area.TXT_COUNT_2->setText(QString::fromUtf8(count));
        clickDelete();
        EXPECT_TRUE(h.boxes.shown().empty()) << count;
    }

    search();
    h.boxes.answer(false);
    clickDelete();
    EXPECT_EQ(h.boxes.texts(), QStringList{WorkTexts::confirmDelete});
    EXPECT_EQ(h.number(openChecks), 5);
    EXPECT_EQ(area.FLEX->rowCount(), 6);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("5"));
    EXPECT_TRUE(h.logText().isEmpty());
}

TEST_F(OpenTableAreaTest, HostileCheckNumberInTheGridStaysData)
{
    search();
    area.OPT_TABLE[1]->setChecked(true);
    area.FLEX->setText(2, 2, QStringLiteral("1004' OR '1'='1"));
    AreaHarness::choose(*area.FLEX, 2);
    h.boxes.answer(true);
    clickDelete();

    EXPECT_EQ(h.number(openChecks), 5);
    EXPECT_EQ(
        h.onlyEntry(),
        AreaHarness::entry(
            tag, QStringLiteral("DELETE FROM PE WHERE PE_CK='0'AND PE_ID ='1004'' OR ''1''=''1'")));
}

TEST_F(OpenTableAreaTest, SearchAfterRowsWereFoundAndNothingIsLeft)
{
    search();
    h.run(QStringLiteral("UPDATE PE SET PE_CK='1'"));
    QTest::mouseClick(area.cmd_TBSerch, Qt::LeftButton);
    EXPECT_EQ(area.FLEX->rowCount(), 1);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("0"));
    EXPECT_EQ(h.boxes.texts(), QStringList{noDataText});
}

TEST_F(OpenTableAreaTest, FailedSearchShowsTheServersErrorNotNoData)
{
    search();
    h.run(QStringLiteral("ALTER TABLE PE RENAME TO PE_OLD"));
    QTest::mouseClick(area.cmd_TBSerch, Qt::LeftButton);

    ASSERT_EQ(h.boxes.shown().size(), 1u);
    const auto& box = h.boxes.shown()[0];
    EXPECT_EQ(box.title, WorkTexts::searchFailedTitle);
    EXPECT_TRUE(box.text.startsWith(WorkTexts::searchFailed));
    EXPECT_TRUE(box.text.contains(QStringLiteral("no such table"))) << box.text.toStdString();
    EXPECT_EQ(box.icon, MessageBoxes::Icon::Critical);
    EXPECT_EQ(area.FLEX->rowCount(), 1);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("0"));
}

TEST_F(OpenTableAreaTest, FailedDeleteKeepsEverythingShowsTheErrorAndLogsTheFailure)
{
    search();
    h.run(QStringLiteral("CREATE TRIGGER keep_pe BEFORE DELETE ON PE "
                         "BEGIN SELECT RAISE(ABORT, '전표 삭제 금지'); END"));
    h.boxes.answer(true);
    clickDelete();

    EXPECT_EQ(h.number(openChecks), 5);
    EXPECT_EQ(area.FLEX->rowCount(), 6);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("5"));
    ASSERT_EQ(h.boxes.shown().size(), 2u);
    const auto& box = h.boxes.shown()[1];
    EXPECT_EQ(box.title, WorkTexts::deleteFailedTitle);
    EXPECT_TRUE(box.text.contains(QStringLiteral("전표 삭제 금지"))) << box.text.toStdString();

    const QString entry = h.onlyEntry();
    const QString head = AreaHarness::address + "\r\n" + tag +
                         "\r\nDELETE FROM PE WHERE PE_CK='0'\r\n" + QStringLiteral("실행실패! ");
    EXPECT_TRUE(entry.startsWith(head)) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("전표 삭제 금지")));
    EXPECT_TRUE(entry.endsWith(QStringLiteral("\r\n\r\n\r\n")));
}

TEST_F(OpenTableAreaTest, UnwritableLogIsReportedOnceWithItsPlace)
{
    search();
    QFile blocker(h.logFolder); // a file where the log folder belongs
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    h.boxes.answer(true);
    clickDelete();

    EXPECT_EQ(h.number(openChecks), 0);
    ASSERT_EQ(h.boxes.shown().size(), 2u);
    const auto& box = h.boxes.shown()[1];
    EXPECT_EQ(box.title, WorkTexts::logFailedTitle);
    EXPECT_EQ(box.icon, MessageBoxes::Icon::Warning);
    EXPECT_TRUE(box.text.contains(QStringLiteral("20261206.TXT"))) << box.text.toStdString();
}

} // namespace
