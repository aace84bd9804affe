#include "maintenance/DeliveryArea.h"

#include "db/Mod_DB.h"
#include "db/TextTable.h"
#include "maintenance/DateNormalise.h"
#include "maintenance/FillResultGrid.h"
#include "maintenance/MessageBoxes.h"
#include "maintenance/ResultGrid.h"
#include "maintenance/SqlTexts.h"
#include "maintenance/WorkSteps.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {
const QString deleteTag = QStringLiteral("배달전체삭제");
const QString searching = QStringLiteral("조회중...");
const QString searched = QStringLiteral("조회완료");
const QString deleting = QStringLiteral("삭제중...");
const QString deleted = QStringLiteral("삭제완료");
const QString deleteFailedStatus = QStringLiteral("삭제실패");
} // namespace

void DeliveryArea::cmd_DTD_Serch_Click()
{
    const Dialect dialect = m_context.db.dialect();
    const bool range = !OPT1[1]->isChecked();
    QString from;
    QString to;
    QString sql;
    if (!range) {
        sql = SqlTexts::deliverySearchAll(dialect);
    } else {
        if (TXT_Date->text().isEmpty() || Txt_Date2->text().isEmpty()) {
            m_context.boxes.inform(WorkTexts::datesRequired);
            return;
        }
        TXT_Date->setText(normaliseDate(TXT_Date->text()));
        Txt_Date2->setText(normaliseDate(Txt_Date2->text()));
        from = TXT_Date->text();
        to = Txt_Date2->text();
        sql = SqlTexts::deliverySearchRange(dialect, from, to);
    }

    m_searched = false;
    TextTable table;
    qint32 rows = 0;
    qint32 columns = 0;
    if (!runSearch(m_context, sql, table, rows, columns)) {
        TXT_COUNT->setText(QStringLiteral("0"));
        return;
    }
    m_searched = true;
    m_searchedRange = range;
    m_searchedFrom = from;
    m_searchedTo = to;

    if (rows > 0)
        lbl_show->setText(searching);
    FillResultGrid(*flex2, *TXT_COUNT, table, rows, flex2->layout().columnMap(), m_context.boxes);
    if (rows > 0)
        lbl_show->setText(searched);
}

void DeliveryArea::CMD_DTD_DELETE_Click()
{
    if (!countAllowsDelete(TXT_COUNT->text()))
        return;
    // Only a count typed into the box gets here without a search; there are no rows to go by.
    if (!m_searched) {
        m_context.boxes.inform(WorkTexts::searchFirst);
        return;
    }
    if (!m_context.boxes.askYesNo(WorkTexts::confirmDelete))
        return;
    const QString address = m_context.localAddress();

    // The same mode and dates as the search that listed the rows, whatever the boxes and options
    // hold now.
    const Dialect dialect = m_context.db.dialect();
    const QString sql = m_searchedRange
                            ? SqlTexts::deliveryDeleteRange(dialect, m_searchedFrom, m_searchedTo)
                            : SqlTexts::deliveryDeleteAll(dialect);
    lbl_show->setText(deleting);
    lbl_show->repaint();
    const StatementOutcome outcome = runStatement(m_context, sql);
    if (outcome.succeeded) {
        ClearResultGrid(*flex2, *TXT_COUNT);
        lbl_show->setText(deleted);
        TXT_Date->clear();
        Txt_Date2->clear();
        m_searched = false;
    } else {
        lbl_show->setText(deleteFailedStatus);
    }
    logAndReport(m_context, address, deleteTag, sql, outcome, WorkTexts::deleteFailedTitle,
                 WorkTexts::deleteFailed);
}
