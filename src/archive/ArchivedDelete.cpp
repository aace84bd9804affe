#include "archive/ArchivedDelete.h"

#include "archive/ArchiveFile.h"
#include "archive/ArchiveScript.h"
#include "db/Mod_DB.h"

namespace {

constexpr qint64 progressEvery = 1000;

// Streams one table's copy into the file; false with the reason in errors.
bool copyTable(DbConnection& conn, Dialect dialect, const ArchiveCopy& copy, ArchiveFile& file,
               qint64& rows, qint64& total, const ArchiveRequest& request, bool& fileFailed,
               DbDiagnostics& errors)
{
    bool identityOn = false;
    QString head;
    QString line; // reused, so a row costs no allocation once the longest has been seen
    const bool read = conn.readRows(
        ArchiveScript::copyQuery(dialect, copy.table, copy.where),
        [&](const std::vector<DbColumn>& columns, const std::vector<DbValue>& row) {
            if (rows == 0)
                head = ArchiveScript::insertHead(dialect, copy.table, columns);
            if (rows == 0 && dialect == Dialect::SqlServer) {
                for (const DbColumn& c : columns)
                    identityOn = identityOn || c.identity;
                if (identityOn && !file.write(ArchiveScript::identityInsert(copy.table, true)))
                    return !(fileFailed = true);
            }
            line.resize(0);
            ArchiveScript::appendInsert(line, dialect, head, row);
            if (!file.write(line))
                return !(fileFailed = true);
            ++rows;
            if (++total % progressEvery == 0 && request.progress)
                request.progress(total);
            return true;
        },
        errors);
    if (read && identityOn && !file.write(ArchiveScript::identityInsert(copy.table, false)))
        fileFailed = true;
    if (fileFailed) {
        errors.clear(); // the file, not the database, is what failed
        errors.push_back({-1, file.error(), QString()});
    }
    return read && !fileFailed;
}

} // namespace

ArchivedDeleteOutcome archivedDelete(Mod_DB& db, const ArchiveRequest& request, const Clock& clock)
{
    ArchivedDeleteOutcome outcome;
    const Dialect dialect = db.dialect();
    const QDateTime now = clock.now();
    ArchiveFile file;
    bool archiveFailed = false;
    const auto fileFailed = [&](DbDiagnostics& errors) {
        archiveFailed = true;
        errors.push_back({-1, file.error(), QString()});
        return false;
    };

    const DbOutcome done = db.DB_Transaction(true, [&](DbConnection& conn, DbDiagnostics& errors) {
        if (!file.create(request.folder, now, request.area))
            return fileFailed(errors);
        const ArchiveScript::Header header{now, request.address, request.logTag, request.database,
                                           request.deleteStatement};
        if (!file.write(ArchiveScript::headerText(dialect, header)))
            return fileFailed(errors);
        std::vector<qint64> countAt;
        for (const ArchiveCopy& copy : request.copies) {
            countAt.push_back(file.position());
            if (!file.write(ArchiveScript::rowCountLine(copy.table, 0)))
                return fileFailed(errors);
        }
        outcome.rowsPerTable.clear();
        qint64 total = 0;
        for (const ArchiveCopy& copy : request.copies) {
            qint64 rows = 0;
            if (!copyTable(conn, dialect, copy, file, rows, total, request, archiveFailed, errors))
                return false;
            outcome.rowsPerTable.emplace_back(copy.table, rows);
        }
        for (size_t i = 0; i < countAt.size(); ++i) {
            const auto& [table, rows] = outcome.rowsPerTable[i];
            if (!file.overwriteAt(countAt[i], ArchiveScript::rowCountLine(table, rows)))
                return fileFailed(errors);
        }
        if (!file.finish())
            return fileFailed(errors);
        if (request.progress)
            request.progress(total);
        outcome.rowsDeleted = total;
        return conn.executeInTransaction(request.deleteStatement, errors);
    });

    outcome.succeeded = done.succeeded;
    outcome.error = done.error;
    outcome.outcomeUnknown = done.outcomeUnknown;
    outcome.archiveFailed = archiveFailed;
    if (archiveFailed)
        outcome.archiveError = file.error();
    if (done.succeeded || done.outcomeUnknown) {
        outcome.archiveFile = file.path();
    } else {
        file.remove();
        outcome.rowsDeleted = 0;
        outcome.rowsPerTable.clear();
    }
    return outcome;
}
