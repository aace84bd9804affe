// What the window shows of its work and how it holds while the work runs: the status line after a
// delete, a progress box that nothing closes, one operation at a time, the keyboard's way round.
#include "MaintenanceWindowFixture.h"
#include "operations/OutcomeWords.h"
#include "window/DeliveryArea.h"
#include "window/FillResultGrid.h"
#include "window/OpenTableArea.h"
#include "window/PayCancelArea.h"
#include "window/WorkSteps.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <sqlite3.h>

namespace {

using WorkOnScreen = MaintenanceWindowFixture;

QStringList archiveNames(const ActivityLog& log)
{
    return QDir(log.archiveFolder()).entryList(QDir::Files, QDir::Name);
}

// Rows gone elsewhere between the search and the delete: the status says so, whole.
TEST_F(WorkOnScreen, ADeleteOfNothingSaysSoWhole)
{
    DeliveryArea& dtd = *window->Frame_DTD;
    click(window->cmd_Btn[2]);
    click(dtd.cmd_DTD_Serch);
    run(QStringLiteral("DELETE FROM DTD"));
    boxes.answer(true);
    click(dtd.CMD_DTD_DELETE);
    EXPECT_EQ(dtd.lbl_show->text(), OutcomeWords::nothingDeleted);
    EXPECT_LE(dtd.lbl_show->sizeHint().width(), dtd.lbl_show->width());
    EXPECT_EQ(dtd.lbl_outcome->text(), OutcomeWords::nothingDeleted); // and no file was kept
    EXPECT_TRUE(archiveNames(log).isEmpty());
}

// A delete held up by a POS terminal's lock: every way of ending the box or starting more work
// is tried while it waits; the delete still runs once, and the window closes after its outcome.
TEST_F(WorkOnScreen, NothingEndsOrJoinsWorkThatRunsAndClosingWaitsForTheOutcome)
{
    PayCancelArea& pay = *window->Frame_PayCancel;
    click(window->cmd_Btn[1]);
    click(pay.cmd_PaySerch);
    const QString found = pay.TXT_COUNT_1->text();
    ASSERT_NE(found, "0");

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(dbPath().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    bool boxStayed = false;
    bool windowStayed = false;
    QString boxText;
    QTimer::singleShot(1500, [&] {
        auto* box = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        QTest::keyClick(box, Qt::Key_Escape);
        box->close(); // as the title bar's close, Alt+F4 and the system menu ask
        pay.cmd_payDelete_Click();
        pay.cmd_PaySerch_Click();
        window->Frame_Table->cmd_TBSerch_Click();
        window->close();
        QApplication::processEvents();
        boxStayed = box->isVisible();
        windowStayed = window->isVisible();
        boxText = box->labelText();
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    boxes.answer(true);
    boxes.answer(true);
    click(pay.cmd_payDelete);
    sqlite3_close(other);

    EXPECT_TRUE(boxStayed);
    EXPECT_TRUE(windowStayed);
    EXPECT_TRUE(boxText.endsWith(WindowTexts::closeAfterWork));
    EXPECT_EQ(boxes.texts(), QStringList{WorkTexts::confirmDelete}); // asked once
    EXPECT_EQ(archiveNames(log).size(), 1u);
    EXPECT_EQ(logText().count(QStringLiteral("192.168.0.25\r\n")), 1);
    EXPECT_EQ(window->Frame_Table->TXT_COUNT_2->text(), "0"); // its search never ran
    EXPECT_TRUE(pay.lbl_outcome->text().endsWith(OutcomeWords::archiveFile(archiveNames(log)[0])));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));
}

TEST_F(WorkOnScreen, TabLeavesTheGridAndReachesEveryButtonInScreenOrder)
{
    click(window->cmd_Btn[0]);
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->cmd_Btn[0]->setFocus();
    QStringList order;
    for (int i = 0; i < 20 && !order.contains(QApplication::focusWidget()->objectName()); ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const QStringList expected{"FLEX", "TXT_COUNT_2", "cmd_TBSerch", "cmd_delete", "CMD_UNLOAD_0"};
    const auto at = order.indexOf("FLEX");
    ASSERT_GE(at, 0) << order.join(' ').toStdString();
    EXPECT_EQ(order.mid(at, expected.size()), expected) << order.join(' ').toStdString();
    for (int i = 0; i < Frm_Sweep_1::areaCount; ++i)
        EXPECT_TRUE(order.contains(window->cmd_Btn[size_t(i)]->objectName())) << i;
}

// Seconds of a payment are not given up for the scroll bar; a text cut by its column shows
// whole as the cell's tooltip.
TEST_F(WorkOnScreen, CutValuesStayWholeOrShowWholeAsTooltip)
{
    ResultGrid& payments = *window->Frame_PayCancel->Flex1;
    TextTable table;
    table.reset(61, 18);
    for (int r = 1; r <= 60; ++r)
        table.setCell(r, 1, u"2026-12-06 23:59:58");
    const QString cut = QStringLiteral("대문 비밀번호 1234, 초인종 누르지 말고 전화 주세요");
    table.setCell(1, 15, cut);
    FillResultGrid(payments, *window->Frame_PayCancel->TXT_COUNT_1, table, 60,
                   payments.layout().columnMap(), boxes);
    click(window->cmd_Btn[1]);
    QApplication::processEvents();
    ASSERT_TRUE(payments.verticalScrollBar()->isVisible());
    EXPECT_EQ(payments.cutText(payments.cellIndex(1, 1)), QString()) << payments.columnWidth(1);
    EXPECT_EQ(payments.cutText(payments.cellIndex(1, 2)), cut);
}

} // namespace
