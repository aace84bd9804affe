#include "operations/Flow.h"

#include "operations/SqlTexts.h"

qint64 CountOutcome::total() const
{
    qint64 sum = 0;
    for (const auto& [table, rows] : rows)
        sum += rows;
    return sum;
}

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

std::optional<qint64> number(const FlowContext& context, const QString& sql, QString* error)
{
    const SearchOutcome found = search(context, sql);
    if (!found.succeeded) {
        if (error)
            *error = found.error;
        return std::nullopt;
    }
    bool read = false;
    const qint64 value = found.rows < 1 ? 0 : found.table.cellView(1, 0).toLongLong(&read);
    return read ? std::optional<qint64>(value) : std::nullopt;
}

CountOutcome count(const FlowContext& context, const Deletion& deletion)
{
    CountOutcome outcome;
    for (const DeletePlan& part : deletion.parts) {
        // A part without a condition is never run (the archived delete refuses it): it removes
        // nothing.
        if (!part.wholeTable && part.where.trimmed().isEmpty()) {
            outcome.rows.emplace_back(part.table, 0);
            continue;
        }
        const std::optional<qint64> rows = number(
            context, SqlTexts::countRows(part.table, part.wholeTable ? QString() : part.where),
            &outcome.error);
        if (!rows)
            return outcome;
        outcome.rows.emplace_back(part.table, *rows);
    }
    outcome.succeeded = true;
    return outcome;
}

namespace {

QString address(const FlowContext& context)
{
    return context.localAddress ? context.localAddress() : QString();
}

} // namespace

ChangeOutcome change(const FlowContext& context, const QString& tag, const QString& sql,
                     int lockWaitMs)
{
    ChangeOutcome outcome;
    outcome.sql = sql;
    const QString from = address(context);
    // A failure to set the wait only leaves the earlier one; the statement decides the outcome.
    if (context.db.dialect() == Dialect::SqlServer)
        context.db.DB_Execute(SqlTexts::lockTimeout(lockWaitMs));
    const DbOutcome db = context.db.DB_Execute(sql);
    outcome.succeeded = db.succeeded;
    outcome.error = db.error;
    outcome.outcomeUnknown = db.outcomeUnknown;
    outcome.logged = context.log.Write_Log(
        LogEntry::statement(from, tag, sql, db.succeeded ? QString() : db.error));
    return outcome;
}

ChangeOutcome archivedDelete(const FlowContext& context, const QString& tag, const QString& area,
                             const Deletion& deletion)
{
    ChangeOutcome outcome;
    outcome.sql = deletion.statement();
    const QString from = address(context);
    ArchiveRequest request;
    request.folder = context.log.archiveFolder();
    request.area = area;
    request.logTag = tag;
    request.computer = ArchiveScript::computer(from);
    request.deletion = deletion;
    // The lock wait is set as the delete's transaction begins.
    if (context.db.dialect() == Dialect::SqlServer)
        request.sessionSetup = SqlTexts::lockTimeout(deleteLockWaitMs);
    const ArchivedDeleteOutcome done = deleteWithArchive(context.db, request, context.log.clock());
    outcome.succeeded = done.succeeded;
    outcome.error = done.error;
    outcome.outcomeUnknown = done.outcomeUnknown;
    outcome.archiveFailed = done.archiveFailed;
    outcome.archiveFile = done.archiveFile;
    outcome.rowsDeleted = done.succeeded ? done.rowsDeleted : 0;
    outcome.logged = context.log.Write_Log(
        LogEntry::statement(from, tag, outcome.sql, done.succeeded ? QString() : outcome.error));
    return outcome;
}

} // namespace FlowSteps
