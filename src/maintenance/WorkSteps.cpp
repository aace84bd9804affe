#include "maintenance/WorkSteps.h"

#include "db/ActivityLog.h"
#include "db/Mod_DB.h"
#include "db/TextTable.h"
#include "maintenance/BusyCursor.h"
#include "maintenance/MessageBoxes.h"
#include "maintenance/WorkContext.h"

#include <QDir>

bool countAllowsDelete(const QString& countText)
{
    bool isNumber = false;
    const qlonglong count = countText.trimmed().toLongLong(&isNumber);
    return isNumber && count > 0;
}

bool runSearch(WorkContext& context, const QString& sql, TextTable& table, qint32& rows,
               qint32& columns)
{
    rows = 0;
    columns = 0;
    DbOutcome outcome;
    {
        BusyCursor busy;
        outcome = context.db.DB_Query(sql, table, rows, columns);
    }
    if (outcome.succeeded)
        return true;
    rows = 0;
    const QString error = outcome.error;
    showFailure(context, WorkTexts::searchFailedTitle, WorkTexts::searchFailed, error);
    return false;
}

StatementOutcome runStatement(WorkContext& context, const QString& sql)
{
    {
        BusyCursor busy;
        context.db.DB_Execute(sql);
    }
    if (context.db.DB_Status() == 1)
        return {true, QString()};
    return {false, context.db.DB_ErrText()};
}

void logAndReport(WorkContext& context, const QString& address, const QString& tag,
                  const QString& sql, const StatementOutcome& outcome, const QString& failureTitle,
                  const QString& failureText)
{
    const QString crlf = QStringLiteral("\r\n");
    const ActivityLog::Result result =
        outcome.succeeded ? context.log.Write_Log(address, tag, sql, crlf, QString())
                          : context.log.Write_Log(address, tag, sql,
                                                  WorkTexts::logFailureMark + outcome.error, crlf);
    if (!outcome.succeeded)
        showFailure(context, failureTitle, failureText, outcome.error);
    if (result.written)
        return;
    QString text = WorkTexts::logFailed + QStringLiteral("\n") + WorkTexts::logFileLabel +
                   QDir::toNativeSeparators(result.filePath);
    if (!result.error.isEmpty())
        text += QStringLiteral("\n\n") + result.error;
    context.boxes.inform(text, WorkTexts::logFailedTitle, MessageBoxes::Buttons::Ok,
                         MessageBoxes::Icon::Warning);
}

void showFailure(WorkContext& context, const QString& title, const QString& text,
                 const QString& serverText)
{
    const QString shown = serverText.isEmpty() ? text : text + QStringLiteral("\n\n") + serverText;
    context.boxes.inform(shown, title, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
}
