#include "MaintenanceWindowFixture.h"
#include "db/TextTable.h"
#include "maintenance/CleanArea.h"
#include "maintenance/DeliveryArea.h"
#include "maintenance/FillResultGrid.h"
#include "maintenance/OpenTableArea.h"
#include "maintenance/PayCancelArea.h"
#include "maintenance/ResultGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString allDatesCaption = QStringLiteral("1.모든날짜의 미정산 건수를 조회합니다");
const QString dateRangeCaption =
    QStringLiteral("1.삭제할 마지막 날짜를 지정해주세요(ex형식으로 기입)");

// Where a chosen work frame goes: 570, 1260, 8505 × 5575 twips.
const QRect workPlace(38, 84, 567, 372);

class AreaTest : public MaintenanceWindowFixture
{
protected:
    DeliveryArea& dtd() { return *window->Frame_DTD; }
    void clickArea(int index) { QTest::mouseClick(window->cmd_Btn[size_t(index)], Qt::LeftButton); }
    void clickOption(int index) { QTest::mouseClick(dtd().OPT1[size_t(index)], Qt::LeftButton); }

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

    // Visibility inside the frame, whether or not the frame itself is on screen.
    static bool shown(QWidget* w) { return !w->isHidden(); }
    bool dateInputsShown()
    {
        return shown(dtd().TXT_Date) && shown(dtd().Txt_Date2) && shown(dtd().LBL_From) &&
               shown(dtd().LBL_Ex2) && shown(dtd().Label19);
    }
    bool dateInputsHidden()
    {
        return !shown(dtd().TXT_Date) && !shown(dtd().Txt_Date2) && !shown(dtd().LBL_From) &&
               !shown(dtd().LBL_Ex2) && !shown(dtd().Label19);
    }
};

TEST_F(AreaTest, StartsWithTheNoticeAndEveryFrameInItsDesignState)
{
    EXPECT_EQ(window->size(), QSize(614, 464));
    EXPECT_TRUE(window->Frame_Notice->isVisible());
    EXPECT_EQ(window->Frame_Notice->geometry(), QRect(32, 74, 567, 379));
    const QRect starts[] = {
        {648, 474, 567, 377}, {648, 84, 571, 377}, {34, 472, 571, 381}, {1236, 86, 569, 373}};
    for (int i = 0; i < Frm_Sweep_1::areaCount; ++i)
        EXPECT_EQ(window->workFrame(i)->geometry(), starts[i]) << i;

    EXPECT_TRUE(window->Frame_Table->OPT_TABLE[0]->isChecked());
    EXPECT_TRUE(dtd().OPT1[1]->isChecked());
    EXPECT_FALSE(dtd().OPT1[0]->isChecked());
    EXPECT_EQ(dtd().lbl_show->text(), QStringLiteral("조회중..."));
    EXPECT_EQ(window->Frame_Clean->Lbl_status->text(), QStringLiteral("..."));
    for (ResultGrid* grid :
         {window->Frame_Table->FLEX, window->Frame_PayCancel->Flex1, dtd().flex2})
        EXPECT_EQ(grid->rowCount(), 50);
}

class AreaButtonTest : public AreaTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(AreaButtonTest, ShowsOnlyTheChosenFrameInTheWorkPlace)
{
    const int chosen = GetParam();
    clickArea((chosen + 1) % 4); // switching from another area, not only from the notice
    clickArea(chosen);
    EXPECT_FALSE(window->Frame_Notice->isVisible());
    for (int i = 0; i < Frm_Sweep_1::areaCount; ++i)
        EXPECT_EQ(window->workFrame(i)->isVisible(), i == chosen) << i;
    EXPECT_EQ(window->workFrame(chosen)->geometry(), workPlace);
}

INSTANTIATE_TEST_SUITE_P(Areas, AreaButtonTest, ::testing::Values(0, 1, 2, 3));

TEST_F(AreaTest, DeliveryButtonRestoresTheAllDatesLayoutButKeepsTheOptionGridAndDates)
{
    clickArea(2);
    clickOption(0);
    ASSERT_TRUE(dtd().OPT1[0]->isChecked());
    EXPECT_TRUE(dateInputsShown());
    EXPECT_EQ(dtd().Label18->text(), dateRangeCaption);
    dtd().TXT_Date->setText(QStringLiteral("2026-12-01"));
    dtd().Txt_Date2->setText(QStringLiteral("2026-12-06"));
    fillGrid(*dtd().flex2, *dtd().TXT_COUNT, 3);
    dtd().lbl_show->setText(QStringLiteral("조회완료"));

    clickArea(0);
    clickArea(2);

    EXPECT_TRUE(dtd().OPT1[0]->isChecked());
    EXPECT_TRUE(dateInputsHidden());
    EXPECT_EQ(dtd().Label18->text(), allDatesCaption);
    EXPECT_EQ(dtd().lbl_show->text(), QString());
    EXPECT_EQ(dtd().TXT_COUNT->text(), QStringLiteral("3"));
    EXPECT_EQ(dtd().flex2->rowCount(), 4);
    EXPECT_EQ(dtd().TXT_Date->text(), QStringLiteral("2026-12-01"));
    EXPECT_EQ(dtd().Txt_Date2->text(), QStringLiteral("2026-12-06"));
}

TEST_F(AreaTest, RepeatedAreaClicksEmptyTheStatusLabelsAndNothingElse)
{
    clickArea(2);
    dtd().lbl_show->setText(QStringLiteral("조회완료"));
    clickArea(2);
    EXPECT_EQ(dtd().lbl_show->text(), QString());

    clickArea(3);
    window->Frame_Clean->Lbl_status->setText(QStringLiteral("최적화 완료"));
    clickArea(3);
    EXPECT_EQ(window->Frame_Clean->Lbl_status->text(), QString());

    OpenTableArea& table = *window->Frame_Table;
    PayCancelArea& pay = *window->Frame_PayCancel;
    fillGrid(*table.FLEX, *table.TXT_COUNT_2, 5);
    fillGrid(*pay.Flex1, *pay.TXT_COUNT_1, 2);
    QTest::mouseClick(table.OPT_TABLE[1], Qt::LeftButton);
    for (int i : {0, 0, 1, 1, 3, 0}) {
        clickArea(i);
        EXPECT_EQ(table.FLEX->rowCount(), 6);
        EXPECT_EQ(table.TXT_COUNT_2->text(), QStringLiteral("5"));
        EXPECT_TRUE(table.OPT_TABLE[1]->isChecked());
        EXPECT_EQ(pay.Flex1->rowCount(), 3);
        EXPECT_EQ(pay.TXT_COUNT_1->text(), QStringLiteral("2"));
    }
    // Other areas' buttons leave the delivery status alone.
    dtd().lbl_show->setText(QStringLiteral("삭제완료"));
    clickArea(1);
    clickArea(3);
    EXPECT_EQ(dtd().lbl_show->text(), QStringLiteral("삭제완료"));
    EXPECT_FALSE(window->Frame_Notice->isVisible());
}

TEST_F(AreaTest, EveryModeChangeEmptiesTheGridAndZeroesTheCount)
{
    clickArea(2);
    for (int option : {0, 1, 0, 1}) {
        fillGrid(*dtd().flex2, *dtd().TXT_COUNT, 4);
        ASSERT_EQ(dtd().flex2->rowCount(), 5);
        clickOption(option);
        EXPECT_TRUE(dtd().OPT1[size_t(option)]->isChecked());
        EXPECT_EQ(dtd().flex2->rowCount(), 1) << option;
        EXPECT_EQ(dtd().flex2->text(0, 1), QStringLiteral("배달순서"));
        EXPECT_EQ(dtd().TXT_COUNT->text(), QStringLiteral("0")) << option;
    }
}

TEST_F(AreaTest, DateBoxesKeepOrLoseTheirTextWithTheMode)
{
    clickArea(2);
    clickOption(0);
    dtd().TXT_Date->setText(QStringLiteral("2017/2/15"));
    dtd().Txt_Date2->setText(QStringLiteral("2017-02-17"));

    clickOption(1); // all dates: the first box is emptied, the second keeps its text
    EXPECT_TRUE(dateInputsHidden());
    EXPECT_EQ(dtd().Label18->text(), allDatesCaption);
    EXPECT_EQ(dtd().TXT_Date->text(), QString());
    EXPECT_EQ(dtd().Txt_Date2->text(), QStringLiteral("2017-02-17"));

    dtd().Txt_Date2->setText(QStringLiteral("2017-02-18"));
    clickOption(0); // a date range shows both boxes as they are
    EXPECT_TRUE(dateInputsShown());
    EXPECT_TRUE(shown(dtd().Label18));
    EXPECT_EQ(dtd().Label18->text(), dateRangeCaption);
    EXPECT_EQ(dtd().TXT_Date->text(), QString());
    EXPECT_EQ(dtd().Txt_Date2->text(), QStringLiteral("2017-02-18"));
}

TEST_F(AreaTest, EveryCaptionFitsItsControlInsideItsFrame)
{
    // Korean text in the installed fallback fonts must not be cut off anywhere.
    for (int area = -1; area < Frm_Sweep_1::areaCount; ++area) { // -1: the notice at start
        if (area >= 0)
            clickArea(area);
        if (area == 2)
            clickOption(0); // every delivery input on screen
        QGroupBox* frame = area < 0 ? window->Frame_Notice : window->workFrame(area);
        for (QWidget* c : frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (c->isHidden())
                continue;
            const std::string name = c->objectName().toStdString();
            EXPECT_TRUE(frame->rect().contains(c->geometry())) << name;
            if (auto* label = qobject_cast<QLabel*>(c); label && !label->text().isEmpty()) {
                const QRect needed = label->fontMetrics().boundingRect(
                    QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, label->text());
                EXPECT_LE(needed.width(), label->width()) << name;
                EXPECT_LE(needed.height(), label->height()) << name;
            } else if (auto* button = qobject_cast<QAbstractButton*>(c)) {
                EXPECT_LE(button->sizeHint().width(), button->width() + 8) << name;
            }
        }
    }
}

} // namespace
