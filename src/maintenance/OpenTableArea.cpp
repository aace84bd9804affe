#include "maintenance/OpenTableArea.h"

#include "db/Mod_DB.h"
#include "db/TextTable.h"
#include "maintenance/FillResultGrid.h"
#include "maintenance/MessageBoxes.h"
#include "maintenance/ResultGrid.h"
#include "maintenance/SqlTexts.h"
#include "maintenance/WorkSteps.h"

#include <QLineEdit>
#include <QRadioButton>

namespace {
const QString deleteTag = QStringLiteral("현황삭제");
constexpr int checkNumberColumn = 2;
} // namespace

void OpenTableArea::cmd_TBSerch_Click()
{
    FLEX->setRowCount(1);
    TextTable table;
    qint32 rows = 0;
    qint32 columns = 0;
    if (!runSearch(m_context, SqlTexts::openTableSearch(m_context.db.dialect()), table, rows,
                   columns)) {
        TXT_COUNT_2->setText(QStringLiteral("0"));
        return;
    }
    FillResultGrid(*FLEX, *TXT_COUNT_2, table, rows, FLEX->layout().columnMap(), m_context.boxes);
}

void OpenTableArea::cmd_delete_Click()
{
    if (!countAllowsDelete(TXT_COUNT_2->text()))
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
    const QString address = m_context.localAddress();

    const Dialect dialect = m_context.db.dialect();
    const QString sql = chosenOnly ? SqlTexts::openTableDeleteOne(dialect, checkNumber)
                                   : SqlTexts::openTableDeleteAll(dialect);
    const StatementOutcome outcome = runStatement(m_context, sql);
    if (outcome.succeeded)
        ClearResultGrid(*FLEX, *TXT_COUNT_2);
    logAndReport(m_context, address, deleteTag, sql, outcome, WorkTexts::deleteFailedTitle,
                 WorkTexts::deleteFailed);
}
