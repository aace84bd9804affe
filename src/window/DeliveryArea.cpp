#include "window/DeliveryArea.h"

#include "operations/DeliveriesFlow.h"
#include "operations/OutcomeWords.h"
#include "window/FillResultGrid.h"
#include "window/FormControls.h"
#include "window/MessageBoxes.h"
#include "window/ResultGrid.h"
#include "window/WorkSteps.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

DeliveryArea::DeliveryArea(WorkContext& context, QWidget* parent)
    : QGroupBox(WindowTexts::deliveries, parent), m_context(context)
{
    setObjectName(QStringLiteral("Frame_DTD"));
    styleAsFrame(this);
    setFont(frameCaptionFont());
    setGeometry(twipsRect(510, 7080, 8565, 5715));

    const QFont optionFont = formFont(FormFonts::humanMoeum, 9.75);
    OPT1[1] = makeOption(this, "OPT1_1", WindowTexts::deleteAll, twipsRect(240, 300, 1725, 285),
                         optionFont);
    OPT1[0] = makeOption(this, "OPT1_0", QStringLiteral("날짜지정삭제"),
                         twipsRect(1980, 300, 1725, 285), optionFont);
    OPT1[1]->setChecked(true);

    flex2 = new ResultGrid(deliveryGridLayout(), this);
    flex2->setObjectName(QStringLiteral("flex2"));
    flex2->setGeometry(twipsRect(60, 720, 8385, 2235));

    Label18 = makeLabel(this, "Label18", DeliveryTexts::dateRangeCaption,
                        twipsRect(180, 3090, 4485, 285), formFont(FormFonts::malgunGothic, 9.75));
    TXT_Date =
        makeTextBox(this, "TXT_Date", QString(), twipsRect(180, 3390, 1215, 345), labelFont());
    LBL_From = makeLabel(this, "LBL_From", QStringLiteral("~"), twipsRect(1530, 3420, 285, 225),
                         formFont(FormFonts::humanHeadline, 14.25));
    Txt_Date2 =
        makeTextBox(this, "Txt_Date2", QString(), twipsRect(1800, 3390, 1185, 345), labelFont());
    const QFont exampleFont = formFont(FormFonts::humanMoeum, 8.25);
    Label19 = makeLabel(this, "Label19", QStringLiteral("ex) 2017-02-15"),
                        twipsRect(210, 3750, 1305, 285), exampleFont);
    LBL_Ex2 = makeLabel(this, "LBL_Ex2", QStringLiteral("ex) 2017-02-17"),
                        twipsRect(1830, 3750, 1305, 285), exampleFont);
    lbl_show = makeLabel(this, "lbl_show", DeliveryTexts::searching,
                         twipsRect(5010, 3390, 1155, 285), statusFont());

    // One line up to the count's caption: "삭제된 건 없음" is wider than the label was drawn.
    lbl_show->setWordWrap(false);
    lbl_show->resize(twipsToPixels(6780 - 5010), lbl_show->height());

    Label20 = makeLabel(this, "Label20", QStringLiteral("조회된 배달 건수"),
                        twipsRect(6810, 3180, 1485, 285), labelFont());
    TXT_COUNT = makeTextBox(this, "TXT_COUNT", QStringLiteral("0"), twipsRect(7020, 3450, 735, 345),
                            labelFont());
    Label31 = makeLabel(this, "Label31", WindowTexts::items, twipsRect(7860, 3510, 195, 315),
                        labelFont());

    Label26 =
        makeLabel(this, "Label26",
                  QStringLiteral("2.조회 버튼클릭후 해당 데이터가 건수가 맞는 지 확인해주세요"),
                  twipsRect(690, 4020, 1995, 735), instructionFont(), FormColours::orange);
    Label27 = makeLabel(this, "Label27", WindowTexts::thenDelete, twipsRect(3270, 4020, 1995, 645),
                        instructionFont(), FormColours::darkRed);
    Label28 = makeLabel(this, "Label28", WindowTexts::thenQuit, twipsRect(5940, 4020, 1605, 645),
                        instructionFont(), FormColours::blue);

    cmd_DTD_Serch = makeButton(this, "cmd_DTD_Serch", WindowTexts::search,
                               twipsRect(900, 4830, 1425, 555), frameButtonFont());
    Label21 = makeLabel(this, "Label21", WindowTexts::arrow, twipsRect(2580, 4980, 615, 315),
                        arrowFont());
    CMD_DTD_DELETE = makeButton(this, "CMD_DTD_DELETE", WindowTexts::remove,
                                twipsRect(3510, 4830, 1335, 555), frameButtonFont());
    Label25 = makeLabel(this, "Label25", WindowTexts::arrow, twipsRect(5250, 4950, 675, 345),
                        arrowFont());
    CMD_UNLOAD = makeButton(this, "CMD_UNLOAD_2", WindowTexts::quit,
                            twipsRect(6060, 4800, 1245, 585), frameButtonFont());

    // A change of option runs its mode, and so does a click on the option already chosen: after
    // the area button brought back the all-dates layout, "날짜지정삭제" must show its boxes again.
    for (int index : {0, 1}) {
        connect(OPT1[size_t(index)], &QRadioButton::toggled, this, [this, index](bool checked) {
            if (checked)
                OPT1_Click(index);
        });
        connect(OPT1[size_t(index)], &QRadioButton::clicked, this,
                [this, index] { OPT1_Click(index); });
    }
    lbl_outcome = makeOutcomeLine(this);

    connect(cmd_DTD_Serch, &QPushButton::clicked, this, &DeliveryArea::cmd_DTD_Serch_Click);
    connect(CMD_DTD_DELETE, &QPushButton::clicked, this, &DeliveryArea::CMD_DTD_DELETE_Click);
}

void DeliveryArea::OPT1_Click(int index)
{
    // The listed rows go with the grid: a count typed afterwards has no search behind it.
    m_listed.reset();
    if (index == 1) {
        Txt_Date2->hide();
        LBL_From->hide();
        LBL_Ex2->hide();
        ClearResultGrid(*flex2, *TXT_COUNT);
        TXT_Date->clear();
        TXT_Date->hide();
        Label19->hide();
        Label18->setText(DeliveryTexts::allDatesCaption);
    } else {
        Txt_Date2->show();
        LBL_From->show();
        LBL_Ex2->show();
        ClearResultGrid(*flex2, *TXT_COUNT);
        TXT_Date->show();
        Label19->show();
        Label18->show();
        Label18->setText(DeliveryTexts::dateRangeCaption);
    }
}

void DeliveryArea::showAllDatesLayout()
{
    lbl_show->clear();
    TXT_Date->hide();
    Txt_Date2->hide();
    LBL_From->hide();
    LBL_Ex2->hide();
    Label19->hide();
    Label18->setText(DeliveryTexts::allDatesCaption);
}

void DeliveryArea::cmd_DTD_Serch_Click()
{
    if (workRunning())
        return;
    DeliveriesFlow::Range range;
    if (!OPT1[1]->isChecked()) {
        if (TXT_Date->text().isEmpty() || Txt_Date2->text().isEmpty()) {
            m_context.boxes.inform(WorkTexts::datesRequired);
            return;
        }
        range = DeliveriesFlow::Range::between(TXT_Date->text(), Txt_Date2->text());
        TXT_Date->setText(range.from);
        Txt_Date2->setText(range.to);
    }

    // The screen shows this search only: no earlier rows, status or delete outcome survive it.
    m_listed.reset();
    flex2->setRowCount(1);
    lbl_show->clear();
    lbl_outcome->clear();
    const SearchOutcome found = runFlow<SearchOutcome>(this, WorkTexts::searching, [&] {
        return DeliveriesFlow::search(m_context.flow(), range);
    });
    // Only listed rows can be deleted: a search that found none leaves nothing to delete.
    const bool listed = found.succeeded && found.rows > 0;
    if (listed) {
        m_listed = range;
        lbl_show->setText(DeliveryTexts::searching);
    }
    if (showSearch(m_context, *flex2, *TXT_COUNT, found))
        lbl_show->setText(DeliveryTexts::searched);
}

void DeliveryArea::CMD_DTD_DELETE_Click()
{
    if (workRunning() || !countAllowsDelete(TXT_COUNT->text()))
        return;
    // Only a count typed into the box gets here without listed rows; there is nothing to go by.
    if (!m_listed) {
        m_context.boxes.inform(WorkTexts::searchFirst);
        return;
    }
    if (!m_context.boxes.askYesNo(WorkTexts::confirmDelete))
        return;

    // The same mode and dates as the search that listed the rows, whatever the boxes and options
    // hold now.
    const DeliveriesFlow::Range range = *m_listed;
    lbl_show->setText(DeliveryTexts::deleting);
    const ChangeOutcome outcome = runFlow<ChangeOutcome>(
        this, WorkTexts::deleting, [&] { return DeliveriesFlow::remove(m_context.flow(), range); });
    if (outcome.succeeded) {
        ClearResultGrid(*flex2, *TXT_COUNT);
        lbl_show->setText(outcome.rowsDeleted == 0 ? OutcomeWords::nothingDeleted
                                                   : DeliveryTexts::deleted);
        TXT_Date->clear();
        Txt_Date2->clear();
        m_listed.reset();
    } else {
        lbl_show->setText(DeliveryTexts::deleteFailed);
    }
    showDeleteOutcome(*lbl_outcome, outcome);
    reportChange(m_context, outcome, WorkTexts::deleteFailedTitle);
    if (outcome.succeeded && outcome.rowsDeleted == 0)
        m_context.boxes.inform(WorkTexts::nothingDeleted);
}
