#include "maintenance/PayCancelArea.h"
#include "AreaHarness.h"
#include "maintenance/WorkSteps.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString tag = QStringLiteral("결제취소삭제");
const QString batch =
    QStringLiteral("delete from ac_temp;\r\ndelete from credit_temp;\r\ndelete from pecash_temp");

// SQLite's own interface only: the SQLite ODBC driver takes one statement per call, so the
// three-statement batch cannot go through it.
class PayCancelAreaTest : public ::testing::Test
{
protected:
    AreaHarness h;
    PayCancelArea area{h.context};

    struct Counts
    {
        int ac, credit, cash;
        bool operator==(const Counts&) const = default;
    };
    Counts counts()
    {
        return {h.number(QStringLiteral("SELECT COUNT(*) FROM AC_TEMP")),
                h.number(QStringLiteral("SELECT COUNT(*) FROM credit_temp")),
                h.number(QStringLiteral("SELECT COUNT(*) FROM pecash_temp"))};
    }
    void search()
    {
        QTest::mouseClick(area.cmd_PaySerch, Qt::LeftButton);
        ASSERT_EQ(area.TXT_COUNT_1->text(), QStringLiteral("6"));
        h.boxes.clear();
    }
    void clickDelete() { QTest::mouseClick(area.cmd_payDelete, Qt::LeftButton); }
};

TEST_F(PayCancelAreaTest, SearchListsPaymentsByCheckThenOrderAndDeleteEmptiesAllThreeTables)
{
    QTest::mouseClick(area.cmd_PaySerch, Qt::LeftButton);
    EXPECT_EQ(area.TXT_COUNT_1->text(), QStringLiteral("6"));
    EXPECT_EQ(area.Flex1->rowCount(), 7);
    // Check 1003's card payment (AC_NO 1) comes before its cash payment (AC_NO 2).
    EXPECT_TRUE(area.Flex1->text(1, 1).contains(QStringLiteral("19:02:31")));
    EXPECT_EQ(area.Flex1->text(1, 2), QStringLiteral("신한카드"));
    EXPECT_EQ(area.Flex1->text(1, 3), QStringLiteral("30012345"));
    EXPECT_EQ(area.Flex1->text(1, 4), QStringLiteral("20000"));
    EXPECT_EQ(area.Flex1->text(2, 2), QString());
    EXPECT_EQ(area.Flex1->text(2, 3), QString());
    // Check 1004's rows are stored out of order and listed by AC_NO.
    EXPECT_EQ(area.Flex1->text(3, 2), QStringLiteral("KB국민카드"));
    EXPECT_EQ(area.Flex1->text(4, 2), QStringLiteral("삼성카드"));

    h.boxes.answer(true);
    clickDelete();
    EXPECT_EQ(counts(), (Counts{0, 0, 0}));
    EXPECT_EQ(h.number(QStringLiteral("SELECT COUNT(*) FROM PE")), 8);
    EXPECT_EQ(area.Flex1->rowCount(), 1);
    EXPECT_EQ(area.TXT_COUNT_1->text(), QStringLiteral("0"));
    EXPECT_EQ(h.onlyEntry(), AreaHarness::entry(tag, batch));
}

TEST_F(PayCancelAreaTest, ClosedGateOrNoAnswerLeaveAllTablesAlone)
{
    h.run(QStringLiteral("DELETE FROM AC_TEMP"));
    clickDelete(); // count "0", though credit_temp and pecash_temp hold rows
    EXPECT_TRUE(h.boxes.shown().empty());
    EXPECT_EQ(counts(), (Counts{0, 3, 2}));

    // A number typed into the box opens the gate; No still stops it.
    area.TXT_COUNT_1->setText(QStringLiteral("1"));
    h.boxes.answer(false);
    clickDelete();
    EXPECT_EQ(h.boxes.texts(), QStringList{WorkTexts::confirmDelete});
    EXPECT_EQ(counts(), (Counts{0, 3, 2}));
    EXPECT_EQ(area.TXT_COUNT_1->text(), QStringLiteral("1"));
    EXPECT_TRUE(h.logText().isEmpty());
}

TEST_F(PayCancelAreaTest, BatchFailingInItsLastStatementChangesNoTable)
{
    search();
    h.run(QStringLiteral("CREATE TRIGGER keep_cash BEFORE DELETE ON pecash_temp "
                         "BEGIN SELECT RAISE(ABORT, '현금 작업행 잠김'); END"));
    h.boxes.answer(true);
    clickDelete();

    EXPECT_EQ(counts(), (Counts{6, 3, 2}));
    EXPECT_EQ(area.Flex1->rowCount(), 7);
    EXPECT_EQ(area.TXT_COUNT_1->text(), QStringLiteral("6"));
    ASSERT_EQ(h.boxes.shown().size(), 2u);
    EXPECT_EQ(h.boxes.shown()[1].title, WorkTexts::deleteFailedTitle);
    EXPECT_TRUE(h.boxes.shown()[1].text.contains(QStringLiteral("현금 작업행 잠김")));
    const QString entry = h.onlyEntry();
    EXPECT_TRUE(entry.startsWith(AreaHarness::address + "\r\n" + tag + "\r\n" + batch + "\r\n" +
                                 QStringLiteral("실행실패! ")))
        << entry.toStdString();
}

TEST_F(PayCancelAreaTest, FailedSearchShowsTheErrorAndAnEmptyGrid)
{
    search();
    h.run(QStringLiteral("ALTER TABLE AC_TEMP RENAME TO AC_OLD"));
    QTest::mouseClick(area.cmd_PaySerch, Qt::LeftButton);
    EXPECT_EQ(area.Flex1->rowCount(), 1);
    EXPECT_EQ(area.TXT_COUNT_1->text(), QStringLiteral("0"));
    ASSERT_EQ(h.boxes.shown().size(), 1u);
    EXPECT_EQ(h.boxes.shown()[0].title, WorkTexts::searchFailedTitle);
    EXPECT_TRUE(h.boxes.shown()[0].text.contains(QStringLiteral("AC_TEMP")));
}

} // namespace
