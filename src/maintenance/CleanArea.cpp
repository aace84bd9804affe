#include "maintenance/CleanArea.h"

#include "db/Mod_DB.h"
#include "maintenance/MessageBoxes.h"
#include "maintenance/SqlTexts.h"
#include "maintenance/WorkSteps.h"

#include <QLabel>

namespace {
const QString optimiseTag = QStringLiteral("DB최적화");
const QString optimising = QStringLiteral("최적화 중..");
const QString optimised = QStringLiteral("최적화 완료");
const QString optimiseFailedStatus = QStringLiteral("최적화 실패");
} // namespace

void CleanArea::cmd_Clean_Click()
{
    const bool yes = m_context.boxes.askYesNo(WorkTexts::confirmOptimise);
    const QString address = m_context.localAddress();
    if (!yes)
        return;

    Lbl_status->clear();
    Lbl_status->setText(optimising);
    const QString sql = SqlTexts::optimise(m_context.db.dialect());
    Lbl_status->setText(optimising);
    Lbl_status->repaint();

    const StatementOutcome outcome = runStatement(m_context, sql);
    Lbl_status->setText(outcome.succeeded ? optimised : optimiseFailedStatus);
    logAndReport(m_context, address, optimiseTag, sql, outcome, WorkTexts::optimiseFailedTitle,
                 WorkTexts::optimiseFailed);
}
