#include "MaintenanceWindowFixture.h"
#include "db/TextTable.h"
#include "maintenance/CleanArea.h"
#include "maintenance/DeliveryArea.h"
#include "maintenance/FillResultGrid.h"
#include "maintenance/OpenTableArea.h"
#include "maintenance/PayCancelArea.h"
#include "maintenance/ResultGrid.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class AreaTest : public MaintenanceWindowFixture
{
protected:
    DeliveryArea& dtd() { return *window->Frame_DTD; }
    void clickArea(int index) { click(window->cmd_Btn[size_t(index)]); }
    void clickOption(int index) { click(dtd().OPT1[size_t(index)]); }

    // Puts records into a grid as a search would.
    void fillGrid(ResultGrid& grid, QLineEdit& count, int records)
    {
        TextTable table;
        table.reset(records + 1, 17);
        for (int r = 1; r <= records; ++r)
            for (int c = 0; c < 17; ++c)
                table.setCell(r, c, QStringLiteral("%1-%2").arg(r).arg(c));
        FillResultGrid(grid, count, table, records, grid.layout().columnMap(), boxes);
    }

    // The date inputs as one: all shown (1), all hidden (0), or mixed (-1).
    int dateInputsShown()
    {
        int shown = 0;
        const QWidget* inputs[] = {dtd().TXT_Date, dtd().Txt_Date2, dtd().LBL_From, dtd().LBL_Ex2,
                                   dtd().Label19};
        for (const QWidget* w : inputs)
            shown += !w->isHidden();
        return shown == 5 ? 1 : shown == 0 ? 0 : -1;
    }
};

class AreaButtonTest : public AreaTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(AreaButtonTest, ShowsOnlyTheChosenFrameInTheWorkPlace)
{
    const int chosen = GetParam();
    EXPECT_TRUE(window->Frame_Notice->isVisible());
    clickArea((chosen + 1) % 4); // switching from another area, not only from the notice
    clickArea(chosen);
    EXPECT_FALSE(window->Frame_Notice->isVisible());
    for (int i = 0; i < Frm_Sweep_1::areaCount; ++i)
        EXPECT_EQ(window->workFrame(i)->isVisible(), i == chosen) << i;
    EXPECT_EQ(window->workFrame(chosen)->geometry(), QRect(38, 84, 567, 372));
}

INSTANTIATE_TEST_SUITE_P(Areas, AreaButtonTest, ::testing::Values(0, 1, 2, 3));

TEST_F(AreaTest, DeliveryButtonRestoresTheAllDatesLayoutButKeepsTheOptionGridAndDates)
{
    clickArea(2);
    clickOption(0);
    ASSERT_EQ(dateInputsShown(), 1);
    EXPECT_EQ(dtd().Label18->text(), DeliveryTexts::dateRangeCaption);
    dtd().TXT_Date->setText(QStringLiteral("2026-12-01"));
    dtd().Txt_Date2->setText(QStringLiteral("2026-12-06"));
    fillGrid(*dtd().flex2, *dtd().TXT_COUNT, 3);
    dtd().lbl_show->setText(DeliveryTexts::searched);

    window->Frame_Clean->Lbl_status->setText(CleanTexts::optimised);
    clickArea(0);
    clickArea(2);
    EXPECT_EQ(window->Frame_Clean->Lbl_status->text(), CleanTexts::optimised); // not its area
    clickArea(3);
    clickArea(3);
    EXPECT_EQ(window->Frame_Clean->Lbl_status->text(), QString());
    clickArea(2);
    EXPECT_TRUE(dtd().OPT1[0]->isChecked());
    EXPECT_EQ(dateInputsShown(), 0);
    EXPECT_EQ(dtd().Label18->text(), DeliveryTexts::allDatesCaption);
    EXPECT_EQ(dtd().lbl_show->text(), QString());
    EXPECT_EQ(dtd().TXT_COUNT->text(), QStringLiteral("3"));
    EXPECT_EQ(dtd().flex2->rowCount(), 4);
    EXPECT_EQ(dtd().TXT_Date->text(), QStringLiteral("2026-12-01"));
    EXPECT_EQ(dtd().Txt_Date2->text(), QStringLiteral("2026-12-06"));
}

TEST_F(AreaTest, ModeChangesEmptyTheGridAndTheFirstDateBox)
{
    clickArea(2);
    for (int option : {0, 1}) {
        fillGrid(*dtd().flex2, *dtd().TXT_COUNT, 4);
        dtd().TXT_Date->setText(QStringLiteral("2017/2/15"));
        dtd().Txt_Date2->setText(QStringLiteral("2017-02-17"));
        clickOption(option);
        EXPECT_EQ(dateInputsShown(), option == 0 ? 1 : 0);
        EXPECT_EQ(dtd().flex2->rowCount(), 1) << option;
        EXPECT_EQ(dtd().TXT_COUNT->text(), QStringLiteral("0")) << option;
        // The range keeps both boxes as they are; all dates empties the first only.
        EXPECT_EQ(dtd().TXT_Date->text().isEmpty(), option == 1);
        EXPECT_EQ(dtd().Txt_Date2->text(), QStringLiteral("2017-02-17"));
    }
}

// The texts only a reader of the window sees: every control keeps its caption, and the
// warnings users know read as they always have.
TEST_F(AreaTest, TheWindowsCaptionsAreTheGivenOnes)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("DB수정"));
    EXPECT_TRUE(window->Frame_PayCancel->font().bold()); // the one frame with a bold heading
    int captioned = 0;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const auto* edit = qobject_cast<QLineEdit*>(w);
        const auto* label = qobject_cast<QLabel*>(w);
        const auto* button = qobject_cast<QAbstractButton*>(w);
        const auto* frame = qobject_cast<QGroupBox*>(w);
        if (w->objectName().isEmpty() || !(edit || label || button || frame))
            continue;
        ++captioned;
        if (!edit)
            EXPECT_FALSE((label    ? label->text()
                          : button ? button->text()
                                   : frame->title())
                             .isEmpty())
                << w->objectName().toStdString();
    }
    EXPECT_EQ(captioned, 71);
    const std::pair<QLabel*, const char*> warnings[] = {
        {window->findChild<QLabel*>("Label2"),
         "※ 반드시 데이터 조회를 하고 확인 후 삭제를 하시기 바랍니다"},
        {window->findChild<QLabel*>("Label32"),
         "※ 반드시 DB 삭제 전 백업을 하시고 삭제를 하시기 바랍니다"},
    };
    for (const auto& [label, text] : warnings) {
        ASSERT_NE(label, nullptr) << text;
        EXPECT_EQ(label->text(), QString::fromUtf8(text));
    }
}

} // namespace
