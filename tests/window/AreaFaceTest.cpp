#include "window/CleanArea.h"
#include "window/DeliveryArea.h"
#include "window/FillResultGrid.h"
#include "window/OpenTableArea.h"
#include "window/PayCancelArea.h"
#include "window/WorkSteps.h"

#include "support/AreaHarness.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <sqlite3.h>

// What the areas add to the flows: the gates before a delete, what the grid, count and labels
// show, which box appears with the server's words. The rows a flow changes are FlowTest's.
namespace {

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

const QString openChecks = QStringLiteral("SELECT COUNT(*) FROM PE WHERE PE_CK='0'");

TEST(AreaFace, OpenTableCountAndChosenRowGateTheDeleteAndAFailedSearchSaysWhy)
{
    AreaHarness h;
    OpenTableArea area(h.context);
    EXPECT_TRUE(area.OPT_TABLE[0]->isChecked()); // all open checks unless one is picked
    click(area.cmd_delete);                      // the count box reads "0"
    EXPECT_TRUE(h.boxes.shown().empty());

    area.OPT_TABLE[1]->setChecked(true);
    area.TXT_COUNT_2->setText(QStringLiteral("1"));
    AreaHarness::choose(*area.FLEX, 1); // picked in the empty grid before any search
    click(area.cmd_delete);
    click(area.cmd_TBSerch);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("5"));
    EXPECT_EQ(area.FLEX->rowCount(), 6);
    click(area.cmd_delete); // the pick before the search no longer counts
    EXPECT_EQ(h.boxes.texts(), (QStringList{WorkTexts::chooseRow, WorkTexts::chooseRow}));

    AreaHarness::choose(*area.FLEX, 3);
    h.boxes.answer(false);
    click(area.cmd_delete);
    EXPECT_EQ(h.number(openChecks), 5);
    h.boxes.answer(true);
    click(area.cmd_delete);
    EXPECT_EQ(h.number(QStringLiteral("SELECT COUNT(*) FROM PE WHERE PE_ID=1005")), 0);
    EXPECT_EQ(h.number(openChecks), 4);
    EXPECT_EQ(area.FLEX->rowCount(), 1);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("0"));

    click(area.cmd_TBSerch);
    h.boxes.clear();
    h.run(QStringLiteral("ALTER TABLE PE RENAME TO PE_OLD"));
    click(area.cmd_TBSerch);
    ASSERT_EQ(h.boxes.shown().size(), 1u);
    EXPECT_EQ(h.boxes.shown()[0].title, WorkTexts::searchFailedTitle);
    EXPECT_EQ(h.boxes.shown()[0].icon, MessageBoxes::Icon::Critical);
    EXPECT_TRUE(h.boxes.shown()[0].text.contains(QStringLiteral("no such table")));
    EXPECT_EQ(area.FLEX->rowCount(), 1);
    EXPECT_EQ(area.TXT_COUNT_2->text(), QStringLiteral("0"));
}

TEST(AreaFace, DeliveryDatesGateTheSearchAndTheDeleteKeepsTheSearchedRange)
{
    AreaHarness h;
    DeliveryArea area(h.context);
    EXPECT_TRUE(area.OPT1[1]->isChecked()); // all dates at start
    click(area.cmd_DTD_Serch);
    EXPECT_EQ(area.TXT_COUNT->text(), QStringLiteral("8"));
    EXPECT_EQ(area.lbl_show->text(), DeliveryTexts::searched);
    click(area.OPT1[0]); // a mode switch empties the grid and the count
    EXPECT_EQ(area.flex2->rowCount(), 1);
    area.TXT_COUNT->setText(QStringLiteral("8")); // and a typed count brings nothing back
    click(area.CMD_DTD_DELETE);
    area.TXT_Date->setText(QStringLiteral("2024/6/11"));
    click(area.cmd_DTD_Serch);
    EXPECT_EQ(h.boxes.texts(), (QStringList{WorkTexts::searchFirst, WorkTexts::datesRequired}));

    area.Txt_Date2->setText(QStringLiteral("20240611"));
    click(area.cmd_DTD_Serch);
    EXPECT_EQ(area.TXT_Date->text(), QStringLiteral("2024-06-11"));
    EXPECT_EQ(area.Txt_Date2->text(), QStringLiteral("2024-06-11"));
    ASSERT_EQ(area.TXT_COUNT->text(), QStringLiteral("1"));
    area.TXT_Date->setText(QStringLiteral("2024-06-01"));
    area.Txt_Date2->setText(QStringLiteral("2024-06-30"));
    h.boxes.answer(true);
    click(area.CMD_DTD_DELETE);
    EXPECT_EQ(h.number(QStringLiteral("SELECT COUNT(*) FROM DTD")), 19);
    EXPECT_EQ(h.number(QStringLiteral("SELECT COUNT(*) FROM DTD WHERE DTD_SEQ=4")), 0);
    EXPECT_EQ(area.lbl_show->text(), DeliveryTexts::deleted);
    EXPECT_TRUE(area.TXT_Date->text().isEmpty());

    // The screen shows the last search only: after one that finds nothing, or fails, no earlier
    // rows, status or delete outcome are left.
    area.TXT_Date->setText(QStringLiteral("2024-06-14"));
    area.Txt_Date2->setText(QStringLiteral("2024-06-14"));
    click(area.cmd_DTD_Serch);
    ASSERT_EQ(area.flex2->rowCount(), 4);
    area.TXT_Date->setText(QStringLiteral("2024-06-15"));
    h.boxes.clear();
    click(area.cmd_DTD_Serch);
    EXPECT_EQ(h.boxes.texts(), QStringList{noDataText});
    EXPECT_EQ(area.flex2->rowCount(), 1);
    EXPECT_EQ(area.lbl_show->text(), QString());
    area.TXT_COUNT->setText(QStringLiteral("5")); // a count typed after finding nothing
    click(area.CMD_DTD_DELETE);
    EXPECT_EQ(h.boxes.texts(), (QStringList{noDataText, WorkTexts::searchFirst}));
    EXPECT_EQ(h.number(QStringLiteral("SELECT COUNT(*) FROM DTD")), 19);
    area.TXT_Date->setText(QStringLiteral("2024-06-14"));
    click(area.cmd_DTD_Serch);
    h.run(QStringLiteral("ALTER TABLE DTD RENAME TO DTD_OLD"));
    click(area.cmd_DTD_Serch);
    EXPECT_EQ(h.boxes.shown().back().title, WorkTexts::searchFailedTitle);
    EXPECT_EQ(area.flex2->rowCount(), 1);
    EXPECT_EQ(area.TXT_COUNT->text(), QStringLiteral("0"));
    EXPECT_EQ(area.lbl_show->text(), QString());
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

// An index whose collation this connection does not know cannot be rebuilt.
TEST(AreaFace, OptimiseAsksFirstAndShowsFailureAsFailure)
{
    AreaHarness h;
    CleanArea area(h.context);
    click(area.cmd_Clean);
    EXPECT_EQ(h.boxes.texts(), QStringList{WorkTexts::confirmOptimise});
    EXPECT_TRUE(h.logText().isEmpty());

    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(h.fixture.path().toUtf8().constData(), &raw), SQLITE_OK);
    sqlite3_create_collation(raw, "HANGUL_CI", SQLITE_UTF8, nullptr,
                             [](void*, int, const void*, int, const void*) { return 0; });
    sqlite3_exec(raw, "CREATE INDEX IX_MEMO ON PE(PE_MEMO COLLATE HANGUL_CI)", nullptr, nullptr,
                 nullptr);
    sqlite3_close(raw);
    h.boxes.clear();
    h.boxes.answer(true);
    click(area.cmd_Clean);
    EXPECT_EQ(area.Lbl_status->text(), CleanTexts::failed);
    ASSERT_EQ(h.boxes.shown().size(), 2u);
    EXPECT_EQ(h.boxes.shown()[1].title, WorkTexts::optimiseFailedTitle);
    EXPECT_TRUE(h.boxes.shown()[1].text.contains(QStringLiteral("HANGUL_CI")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
