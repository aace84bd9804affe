#include "maintenance/PayCancelArea.h"

#include "db/Mod_DB.h"
#include "db/TextTable.h"
#include "maintenance/FillResultGrid.h"
#include "maintenance/MessageBoxes.h"
#include "maintenance/ResultGrid.h"
#include "maintenance/SqlTexts.h"
#include "maintenance/WorkSteps.h"

#include <QLineEdit>

namespace {
const QString deleteTag = QStringLiteral("결제취소삭제");
} // namespace

void PayCancelArea::cmd_PaySerch_Click()
{
    Flex1->setRowCount(1);
    TextTable table;
    qint32 rows = 0;
    qint32 columns = 0;
    if (!runSearch(m_context, SqlTexts::payCancelSearch(m_context.db.dialect()), table, rows,
                   columns)) {
        TXT_COUNT_1->setText(QStringLiteral("0"));
        return;
    }
    FillResultGrid(*Flex1, *TXT_COUNT_1, table, rows, Flex1->layout().columnMap(), m_context.boxes);
}

void PayCancelArea::cmd_payDelete_Click()
{
    if (!countAllowsDelete(TXT_COUNT_1->text()))
        return;
    if (!m_context.boxes.askYesNo(WorkTexts::confirmDelete))
        return;
    const QString address = m_context.localAddress();

    // All three work tables are emptied together, whatever the grid shows.
    const QString sql = SqlTexts::payCancelDelete(m_context.db.dialect());
    const StatementOutcome outcome = runStatement(m_context, sql);
    if (outcome.succeeded)
        ClearResultGrid(*Flex1, *TXT_COUNT_1);
    logAndReport(m_context, address, deleteTag, sql, outcome, WorkTexts::deleteFailedTitle,
                 WorkTexts::deleteFailed);
}
