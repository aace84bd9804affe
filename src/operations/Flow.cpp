#include "operations/Flow.h"

#include "operations/SqlTexts.h"

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

namespace {

// The database as the archive's header names it: the catalog of a server, the file of the demo.
// Never the whole connection string, which holds the password.
QString databaseName(const Mod_DB& db)
{
    const QString connection = db.DB_ConnStr();
    if (db.dialect() == Dialect::Sqlite && !connection.contains(u'='))
        return connection;
    for (const QString& part : connection.split(u';')) {
        const QString key = part.section(u'=', 0, 0).trimmed();
        if (key.compare(QLatin1String("DATABASE"), Qt::CaseInsensitive) == 0 ||
            key.compare(QLatin1String("Initial Catalog"), Qt::CaseInsensitive) == 0)
            return part.section(u'=', 1).trimmed();
    }
    return QString();
}

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
                             const QString& sql, const std::vector<ArchiveCopy>& copies)
{
    ChangeOutcome outcome;
    outcome.sql = sql;
    ArchiveRequest request;
    request.folder = context.log.archiveFolder();
    request.area = area;
    request.logTag = tag;
    request.address = address(context);
    request.database = databaseName(context.db);
    request.deleteStatement = sql;
    request.copies = copies;
    if (context.db.dialect() == Dialect::SqlServer)
        context.db.DB_Execute(SqlTexts::lockTimeout(deleteLockWaitMs));
    const ArchivedDeleteOutcome done = ::archivedDelete(context.db, request, context.log.clock());
    outcome.succeeded = done.succeeded;
    outcome.error = done.archiveFailed ? done.archiveError : done.error;
    outcome.outcomeUnknown = done.outcomeUnknown;
    outcome.archiveFailed = done.archiveFailed;
    outcome.archiveFile = done.archiveFile;
    outcome.rowsDeleted = done.succeeded ? done.rowsDeleted : 0;
    outcome.logged = context.log.Write_Log(
        LogEntry::statement(request.address, tag, sql, done.succeeded ? QString() : outcome.error));
    return outcome;
}

} // namespace FlowSteps
