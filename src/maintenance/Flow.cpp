#include "maintenance/Flow.h"

#include "maintenance/SqlTexts.h"

namespace FlowSteps {

SearchOutcome search(const FlowContext& context, const QString& sql)
{
    SearchOutcome outcome;
    const DbOutcome db = context.db.DB_Query(sql, outcome.table, outcome.rows, outcome.columns);
    outcome.succeeded = db.succeeded;
    outcome.error = db.error;
    if (!db.succeeded)
        outcome.rows = 0;
    return outcome;
}

ChangeOutcome change(const FlowContext& context, const QString& tag, const QString& sql,
                     int lockWaitMs)
{
    ChangeOutcome outcome;
    outcome.sql = sql;
    const QString address = context.localAddress ? context.localAddress() : QString();
    // A failure to set the wait only leaves the earlier one; the statement decides the outcome.
    if (context.db.dialect() == Dialect::SqlServer)
        context.db.DB_Execute(SqlTexts::lockTimeout(lockWaitMs));
    const DbOutcome db = context.db.DB_Execute(sql);
    outcome.succeeded = db.succeeded;
    outcome.error = db.error;
    outcome.outcomeUnknown = db.outcomeUnknown;
    outcome.logged = context.log.Write_Log(
        LogEntry::statement(address, tag, sql, db.succeeded ? QString() : db.error));
    return outcome;
}

} // namespace FlowSteps
