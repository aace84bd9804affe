#include "maintenance/DeliveryArea.h"
#include "maintenance/PayCancelArea.h"
#include "maintenance/WorkSteps.h"

#include "AreaHarness.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <sqlite3.h>

namespace {

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

TEST(AreaFace, ClickingTheChosenModeAgainBringsBackItsDateBoxes)
{
    AreaHarness h;
    DeliveryArea area(h.context);
    area.show();
    click(area.OPT1[0]);
    ASSERT_TRUE(area.TXT_Date->isVisible());
    area.showAllDatesLayout(); // the area button does this and keeps the option
    ASSERT_FALSE(area.TXT_Date->isVisible());
    click(area.OPT1[0]);
    EXPECT_TRUE(area.TXT_Date->isVisible());
    EXPECT_TRUE(area.Txt_Date2->isVisible());
}

TEST(AreaFace, AfterASearchThatFoundNothingATypedCountDeletesNothing)
{
    AreaHarness h;
    DeliveryArea area(h.context);
    const int before = h.number("SELECT COUNT(*) FROM DTD");
    click(area.OPT1[0]);
    area.TXT_Date->setText("1999-01-01");
    area.Txt_Date2->setText("1999-01-02");
    click(area.cmd_DTD_Serch);
    ASSERT_EQ(area.TXT_COUNT->text(), "0");
    area.TXT_COUNT->setText("5");
    h.boxes.answer(true);
    click(area.CMD_DTD_DELETE);
    EXPECT_EQ(h.number("SELECT COUNT(*) FROM DTD"), before);
    EXPECT_NE(area.lbl_show->text(), DeliveryTexts::deleted);
    EXPECT_TRUE(h.logText().isEmpty());
    ASSERT_FALSE(h.boxes.shown().empty());
    EXPECT_EQ(h.boxes.shown().back().text, WorkTexts::searchFirst);
}

// A delete that waits for another connection's lock runs off the window's thread: the window's
// event loop keeps running, a progress box shows, and the outcome is the one a quick delete has.
TEST(AreaFace, SlowWorkKeepsTheWindowAliveAndEndsAsQuickWorkDoes)
{
    AreaHarness h;
    PayCancelArea area(h.context);
    click(area.cmd_PaySerch);
    ASSERT_NE(area.TXT_COUNT_1->text(), "0");

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(h.fixture.path().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    bool progressShown = false;
    QTimer::singleShot(1500, [&] {
        progressShown = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    h.boxes.answer(true);
    click(area.cmd_payDelete);
    sqlite3_close(other);

    EXPECT_TRUE(progressShown);
    EXPECT_EQ(h.number("SELECT COUNT(*) FROM AC_TEMP"), 0);
    EXPECT_EQ(area.TXT_COUNT_1->text(), "0");
    EXPECT_EQ(h.boxes.shown().size(), 1u); // the question only
    EXPECT_FALSE(h.logText().isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
