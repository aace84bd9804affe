#include "window/OpenTableArea.h"

#include "operations/OpenChecksFlow.h"
#include "window/FillResultGrid.h"
#include "window/FormControls.h"
#include "window/MessageBoxes.h"
#include "window/ResultGrid.h"
#include "window/WorkSteps.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int checkNumberColumn = 2;
} // namespace

OpenTableArea::OpenTableArea(WorkContext& context, QWidget* parent)
    : QGroupBox(WindowTexts::openTables, parent), m_context(context)
{
    setObjectName(QStringLiteral("Frame_Table"));
    styleAsFrame(this);
    setFont(frameCaptionFont());
    setGeometry(twipsRect(9720, 7110, 8505, 5655));

    OPT_TABLE[0] = makeOption(this, "OPT_TABLE_0", WindowTexts::deleteAll,
                              twipsRect(360, 300, 1125, 315), labelFont());
    OPT_TABLE[1] = makeOption(this, "OPT_TABLE_1", QStringLiteral("현황지정삭제"),
                              twipsRect(1770, 300, 1305, 315), labelFont());
    OPT_TABLE[0]->setChecked(true);

    FLEX = new ResultGrid(openTableGridLayout(), this);
    FLEX->setObjectName(QStringLiteral("FLEX"));
    FLEX->setGeometry(twipsRect(270, 750, 6075, 2175));

    Label23 = makeLabel(this, "Label23", QStringLiteral("조회된 현황 건수"),
                        twipsRect(6660, 960, 1455, 345), labelFont());
    TXT_COUNT_2 = makeTextBox(this, "TXT_COUNT_2", QStringLiteral("0"),
                              twipsRect(6900, 1290, 645, 360), labelFont());
    Label29 = makeLabel(this, "Label29", WindowTexts::items, twipsRect(7770, 1380, 165, 405),
                        labelFont());

    Label4 = makeLabel(this, "Label4", WindowTexts::checkCount, twipsRect(870, 3720, 1995, 735),
                       instructionFont(), FormColours::orange);
    Label6 = makeLabel(this, "Label6", WindowTexts::thenDelete, twipsRect(3480, 3690, 1995, 675),
                       instructionFont(), FormColours::darkRed);
    Label7 = makeLabel(this, "Label7", WindowTexts::thenQuit, twipsRect(6030, 3660, 1605, 645),
                       instructionFont(), FormColours::blue);

    cmd_TBSerch = makeButton(this, "cmd_TBSerch", WindowTexts::search,
                             twipsRect(1080, 4530, 1305, 555), frameButtonFont());
    Label12 = makeLabel(this, "Label12", WindowTexts::arrow, twipsRect(2910, 4590, 495, 285),
                        arrowFont());
    cmd_delete = makeButton(this, "cmd_delete", WindowTexts::remove,
                            twipsRect(3690, 4500, 1185, 585), frameButtonFont());
    Label5 =
        makeLabel(this, "Label5", WindowTexts::arrow, twipsRect(5280, 4590, 495, 285), arrowFont());
    CMD_UNLOAD = makeButton(this, "CMD_UNLOAD_0", WindowTexts::quit,
                            twipsRect(6180, 4500, 1155, 585), frameButtonFont());

    lbl_outcome = makeOutcomeLine(this);

    connect(cmd_TBSerch, &QPushButton::clicked, this, &OpenTableArea::cmd_TBSerch_Click);
    connect(cmd_delete, &QPushButton::clicked, this, &OpenTableArea::cmd_delete_Click);
}

void OpenTableArea::cmd_TBSerch_Click()
{
    if (workRunning())
        return;
    lbl_outcome->clear();
    FLEX->setRowCount(1);
    const SearchOutcome found = runFlow<SearchOutcome>(
        this, WorkTexts::searching, [&] { return OpenChecksFlow::search(m_context.flow()); });
    showSearch(m_context, *FLEX, *TXT_COUNT_2, found);
}

void OpenTableArea::cmd_delete_Click()
{
    if (workRunning() || !countAllowsDelete(TXT_COUNT_2->text()))
        return;

    // The chosen-check delete reads the check from the row the user picked after the search; an
    // empty row (before any search) holds no check to delete.
    const bool chosenOnly = OPT_TABLE[1]->isChecked();
    const int row = FLEX->currentRow();
    const QString checkNumber = row < 1 ? QString() : FLEX->text(row, checkNumberColumn);
    if (chosenOnly && checkNumber.isEmpty()) {
        m_context.boxes.inform(WorkTexts::chooseRow);
        return;
    }
    if (!m_context.boxes.askYesNo(WorkTexts::confirmDelete))
        return;

    const std::optional<QString> which =
        chosenOnly ? std::optional<QString>(checkNumber) : std::nullopt;
    const ChangeOutcome outcome = runFlow<ChangeOutcome>(
        this, WorkTexts::deleting, [&] { return OpenChecksFlow::remove(m_context.flow(), which); });
    if (outcome.succeeded)
        ClearResultGrid(*FLEX, *TXT_COUNT_2);
    showDeleteOutcome(*lbl_outcome, outcome);
    reportChange(m_context, outcome, WorkTexts::deleteFailedTitle);
}
