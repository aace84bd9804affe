#include "MaintenanceWindowFixture.h"
#include "window/CleanArea.h"
#include "window/DeliveryArea.h"
#include "window/FillResultGrid.h"
#include "window/ResultGrid.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

using AreaTest = MaintenanceWindowFixture;

TEST_F(AreaTest, EachAreaButtonShowsOnlyItsFrameInsideTheWindow)
{
    EXPECT_TRUE(window->Frame_Notice->isVisible());
    for (const int chosen : {0, 1, 2, 3, 1}) { // from the notice, then from another area
        click(window->cmd_Btn[size_t(chosen)]);
        EXPECT_FALSE(window->Frame_Notice->isVisible());
        for (int i = 0; i < Frm_Sweep_1::areaCount; ++i)
            EXPECT_EQ(window->workFrame(i)->isVisible(), i == chosen) << i;
        EXPECT_TRUE(window->rect().contains(window->workFrame(chosen)->geometry())) << chosen;
    }
}

// The delivery button brings back the all-dates layout but keeps the grid, its count and the
// typed dates; the option switch empties the grid (and, for all dates, the first date box).
TEST_F(AreaTest, DeliveryButtonAndModeSwitchKeepOrEmptyWhatTheyShould)
{
    DeliveryArea& dtd = *window->Frame_DTD;
    click(window->cmd_Btn[2]);
    click(dtd.OPT1[0]);
    ASSERT_FALSE(dtd.TXT_Date->isHidden());
    dtd.TXT_Date->setText(QStringLiteral("2026-12-01"));
    dtd.Txt_Date2->setText(QStringLiteral("2026-12-06"));
    TextTable table;
    table.reset(4, 17);
    FillResultGrid(*dtd.flex2, *dtd.TXT_COUNT, table, 3, dtd.flex2->layout().columnMap(), boxes);
    dtd.lbl_show->setText(DeliveryTexts::searched);
    window->Frame_Clean->Lbl_status->setText(CleanTexts::optimised);

    click(window->cmd_Btn[0]);
    click(window->cmd_Btn[2]);
    EXPECT_EQ(window->Frame_Clean->Lbl_status->text(), CleanTexts::optimised); // not its area
    EXPECT_TRUE(dtd.OPT1[0]->isChecked());
    EXPECT_TRUE(dtd.TXT_Date->isHidden());
    EXPECT_EQ(dtd.Label18->text(), DeliveryTexts::allDatesCaption);
    EXPECT_EQ(dtd.lbl_show->text(), QString());
    EXPECT_EQ(dtd.TXT_COUNT->text(), QStringLiteral("3"));
    EXPECT_EQ(dtd.flex2->rowCount(), 4);
    EXPECT_EQ(dtd.TXT_Date->text(), "2026-12-01");
    EXPECT_EQ(dtd.Txt_Date2->text(), "2026-12-06");
    click(window->cmd_Btn[3]);
    EXPECT_EQ(window->Frame_Clean->Lbl_status->text(), QString());

    click(window->cmd_Btn[2]);
    click(dtd.OPT1[1]);
    EXPECT_EQ(dtd.flex2->rowCount(), 1);
    EXPECT_EQ(dtd.TXT_COUNT->text(), QStringLiteral("0"));
    EXPECT_TRUE(dtd.TXT_Date->text().isEmpty());
    EXPECT_EQ(dtd.Txt_Date2->text(), "2026-12-06");
}

// Texts only a reader of the window sees: the title and the warnings users know.
TEST_F(AreaTest, TheWindowsCaptionsAreTheGivenOnes)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("DB수정"));
    EXPECT_EQ(window->Label2->text(),
              QStringLiteral("※ 반드시 데이터 조회를 하고 확인 후 삭제를 하시기 바랍니다"));
    EXPECT_EQ(window->Label32->text(),
              QStringLiteral("※ 반드시 DB 삭제 전 백업을 하시고 삭제를 하시기 바랍니다"));
}

} // namespace
