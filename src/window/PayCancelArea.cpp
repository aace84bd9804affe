#include "window/PayCancelArea.h"

#include "operations/PayCancelFlow.h"
#include "window/FillResultGrid.h"
#include "window/FormControls.h"
#include "window/MessageBoxes.h"
#include "window/ResultGrid.h"
#include "window/WorkSteps.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PayCancelArea::PayCancelArea(WorkContext& context, QWidget* parent)
    : QGroupBox(WindowTexts::payCancel, parent), m_context(context)
{
    setObjectName(QStringLiteral("Frame_PayCancel"));
    styleAsFrame(this);
    setFont(formFont(FormFonts::humanMoeum, 12, true));
    setGeometry(twipsRect(9720, 1260, 8565, 5655));

    Flex1 = new ResultGrid(payCancelGridLayout(), this);
    Flex1->setObjectName(QStringLiteral("Flex1"));
    Flex1->setGeometry(twipsRect(330, 780, 6045, 2235));

    Label22 = makeLabel(this, "Label22", QStringLiteral("조회된 취소 건수"),
                        twipsRect(6870, 930, 1335, 375), labelFont());
    TXT_COUNT_1 = makeTextBox(this, "TXT_COUNT_1", QStringLiteral("0"),
                              twipsRect(7260, 1230, 525, 375), labelFont());
    Label30 = makeLabel(this, "Label30", WindowTexts::items, twipsRect(7830, 1320, 285, 435),
                        labelFont());
    Label13 = makeLabel(
        this, "Label13",
        QStringLiteral(
            "◈ 조회 시 카드종류,승인번호가 없는데이터는 현금 및 기타결제 라고 보시면됩니다"),
        twipsRect(390, 3180, 6915, 225), formFont(FormFonts::malgunGothic, 9, true));

    Label8 = makeLabel(this, "Label8", WindowTexts::checkCount, twipsRect(720, 3810, 1995, 735),
                       instructionFont(), FormColours::orange);
    Label10 = makeLabel(this, "Label10", WindowTexts::thenDelete, twipsRect(3300, 3810, 1995, 645),
                        instructionFont(), FormColours::darkRed);
    Label11 = makeLabel(this, "Label11", WindowTexts::thenQuit, twipsRect(5790, 3810, 1605, 645),
                        instructionFont(), FormColours::blue);

    cmd_PaySerch = makeButton(this, "cmd_PaySerch", WindowTexts::search,
                              twipsRect(930, 4710, 1245, 555), frameButtonFont());
    Label14 = makeLabel(this, "Label14", WindowTexts::arrow, twipsRect(2580, 4710, 585, 315),
                        arrowFont());
    cmd_payDelete = makeButton(this, "cmd_payDelete", WindowTexts::remove,
                               twipsRect(3540, 4680, 1155, 585), frameButtonFont());
    Label15 = makeLabel(this, "Label15", WindowTexts::arrow, twipsRect(5040, 4710, 525, 285),
                        arrowFont());
    CMD_UNLOAD = makeButton(this, "CMD_UNLOAD_1", WindowTexts::quit,
                            twipsRect(6000, 4680, 1125, 585), frameButtonFont());

    lbl_outcome = makeOutcomeLine(this);

    connect(cmd_PaySerch, &QPushButton::clicked, this, &PayCancelArea::cmd_PaySerch_Click);
    connect(cmd_payDelete, &QPushButton::clicked, this, &PayCancelArea::cmd_payDelete_Click);
}

void PayCancelArea::cmd_PaySerch_Click()
{
    if (workRunning())
        return;
    lbl_outcome->clear();
    Flex1->setRowCount(1);
    const SearchOutcome found = runFlow<SearchOutcome>(
        this, WorkTexts::searching, [&] { return PayCancelFlow::search(m_context.flow()); });
    showSearch(m_context, *Flex1, *TXT_COUNT_1, found);
}

void PayCancelArea::cmd_payDelete_Click()
{
    if (workRunning() || !countAllowsDelete(TXT_COUNT_1->text()))
        return;
    if (!m_context.boxes.askYesNo(WorkTexts::confirmDelete))
        return;

    // All three work tables are emptied together, whatever the grid shows.
    const ChangeOutcome outcome = runFlow<ChangeOutcome>(
        this, WorkTexts::deleting, [&] { return PayCancelFlow::remove(m_context.flow()); });
    if (outcome.succeeded)
        ClearResultGrid(*Flex1, *TXT_COUNT_1);
    showDeleteOutcome(*lbl_outcome, outcome);
    reportChange(m_context, outcome, WorkTexts::deleteFailedTitle);
}
