#include "archive/ArchivedDelete.h"

#include "archive/ArchiveFile.h"
#include "archive/ColumnFacts.h"
#include "archive/DeleteSideEffects.h"
#include "db/Mod_DB.h"

#include <algorithm>

namespace {

constexpr qint64 progressEvery = 1000;

// One delete's run inside its transaction: each step returns false with its reason in errors.
class Run
{
public:
    Run(const ArchiveRequest& request, Dialect dialect, ArchiveFile& file)
        : m_request(request), m_dialect(dialect), m_file(file)
    {
    }

    // A reason of the archive's, not the server's: the delete was refused before it ran.
    bool refuse(DbDiagnostics& errors, const QString& reason, bool archiveFailed)
    {
        m_archiveFailed = archiveFailed;
        m_refusal = reason;
        errors.push_back({-1, reason, QString()});
        return false;
    }

    bool fileFailed(DbDiagnostics& errors) { return refuse(errors, m_file.error(), true); }

    void reached(ArchiveStep step) const
    {
        if (m_request.reached)
            m_request.reached(step);
    }

    // Streams one part's rows into the file; false with the reason in errors.
    bool copy(DbConnection& conn, const DeletePlan& part, const QString& query,
              DbDiagnostics& errors)
    {
        const std::optional<ColumnFacts> facts = columnFacts(conn, part.table, errors);
        if (!facts)
            return false;
        std::vector<DbColumn> written; // the result's columns with what the catalog adds
        QString refusedColumn;
        bool identityOn = false;
        bool unwritable = false;
        QString head;
        QString line; // reused, so a row costs no allocation once the longest has been seen
        qint64 rows = 0;
        const bool read = conn.readRows(
            query,
            [&](const std::vector<DbColumn>& columns, const std::vector<DbValue>& row) {
                if (rows == 0) {
                    written = columns;
                    refusedColumn = facts->apply(written);
                    if (!refusedColumn.isEmpty())
                        return false;
                    head = ArchiveScript::insertHead(m_dialect, part.table, written);
                    for (const DbColumn& c : written)
                        identityOn = identityOn || (c.identity && !c.serverFilled);
                    identityOn = identityOn && m_dialect == Dialect::SqlServer;
                    if (identityOn &&
                        !m_file.write(ArchiveScript::identityInsert(part.table, true)))
                        return !(m_writeFailed = true);
                }
                line.resize(0);
                if (!ArchiveScript::appendInsert(line, m_dialect, head, written, row))
                    return !(unwritable = true);
                if (!m_file.write(line))
                    return !(m_writeFailed = true);
                ++rows;
                if (++m_total % progressEvery == 0 && m_request.progress)
                    m_request.progress(m_total);
                return true;
            },
            errors);
        if (read && identityOn && !m_file.write(ArchiveScript::identityInsert(part.table, false)))
            m_writeFailed = true;
        if (!refusedColumn.isEmpty()) {
            errors.clear();
            return refuse(errors,
                          QStringLiteral("%1의 %2 열은 보관 파일에 그대로 쓸 수 없는 형식이라 "
                                         "삭제하지 않았습니다")
                              .arg(part.table, refusedColumn),
                          true);
        }
        if (unwritable) {
            errors.clear();
            return refuse(errors,
                          QStringLiteral("%1의 %2번째 행에 보관 파일에 그대로 쓸 수 없는 값이 "
                                         "있어 삭제하지 않았습니다")
                              .arg(part.table)
                              .arg(rows + 1),
                          true);
        }
        if (m_writeFailed) {
            errors.clear(); // the file, not the database, is what failed
            return fileFailed(errors);
        }
        if (read)
            m_rows.emplace_back(part.table, rows);
        return read;
    }

    // SQLite counts every row a statement, its triggers and its foreign keys changed.
    std::optional<qint64> changesSoFar(DbConnection& conn, DbDiagnostics& errors)
    {
        if (m_dialect != Dialect::Sqlite)
            return 0;
        std::optional<qint64> changes;
        const bool read = conn.readRows(
            QStringLiteral("SELECT total_changes()"),
            [&](const std::vector<DbColumn>&, const std::vector<DbValue>& row) {
                changes = row.empty() ? 0 : row.front().text.toLongLong();
                return true;
            },
            errors);
        return read ? changes : std::nullopt;
    }

    bool work(DbConnection& conn, DbDiagnostics& errors, const DatabaseIdentity& database,
              const QDateTime& now)
    {
        const Deletion& deletion = m_request.deletion;
        if (!m_request.sessionSetup.isEmpty() &&
            !conn.executeInTransaction(m_request.sessionSetup, errors))
            return false;
        QStringList queries;
        for (const DeletePlan& part : deletion.parts) {
            queries << part.copyQuery(m_dialect);
            if (queries.back().isEmpty())
                return refuse(
                    errors,
                    QStringLiteral("조건 없이 표 전체를 지우는 삭제는 보내지 않습니다: ") +
                        part.statement(),
                    false);
        }
        const std::optional<QStringList> effects =
            deleteSideEffects(conn, deletion.tables(), errors);
        if (!effects)
            return false;
        if (!effects->isEmpty())
            return refuse(errors,
                          QStringLiteral("데이터베이스가 보관 파일에 없는 행까지 함께 지우거나 "
                                         "바꾸게 되어 있어 삭제하지 않았습니다: ") +
                              effects->join(QStringLiteral(", ")),
                          false);

        if (!m_file.create(m_request.folder, now, m_request.area))
            return fileFailed(errors);
        const ArchiveScript::Header header{now,
                                           m_request.computer,
                                           database,
                                           m_request.logTag,
                                           deletion.tables(),
                                           deletion.statement()};
        if (!m_file.write(ArchiveScript::headerText(m_dialect, header)))
            return fileFailed(errors);
        for (size_t i = 0; i < deletion.parts.size(); ++i) {
            if (!copy(conn, deletion.parts[i], queries[int(i)], errors))
                return false;
        }
        reached(ArchiveStep::Copied);
        if (m_total == 0) {
            m_file.remove(); // nothing to keep: the delete removes nothing
        } else {
            if (!m_file.seal(m_rows))
                return fileFailed(errors);
            m_sealed = true;
        }
        reached(ArchiveStep::Sealed);
        if (m_request.progress)
            m_request.progress(m_total);

        // SQL Server says how many rows each statement changed unless the session was told not to.
        if (m_dialect == Dialect::SqlServer &&
            !conn.executeInTransaction(QStringLiteral("SET NOCOUNT OFF"), errors))
            return false;
        const std::optional<qint64> before = changesSoFar(conn, errors);
        qint64 deleted = -1;
        if (!before || !conn.executeInTransaction(deletion.statement(), errors, &deleted))
            return false;
        const std::optional<qint64> after = changesSoFar(conn, errors);
        if (!after)
            return false;
        // The copy must cover what leaves: the delete's own count and, on SQLite, every change
        // the statement made (triggers and foreign keys included).
        const qint64 changed = m_dialect == Dialect::Sqlite ? *after - *before : deleted;
        if (deleted != m_total || changed != m_total)
            return refuse(errors,
                          QStringLiteral("삭제한 행 수(%1)가 보관한 행 수(%2)와 달라 삭제를 "
                                         "되돌렸습니다")
                              .arg(deleted < 0 ? QStringLiteral("알 수 없음")
                                               : QString::number(std::max(deleted, changed)))
                              .arg(m_total),
                          false);
        reached(ArchiveStep::Deleted);
        return true;
    }

    bool archiveFailed() const { return m_archiveFailed; }
    const QString& refusal() const { return m_refusal; }
    bool sealed() const { return m_sealed; }
    const RowsPerTable& rows() const { return m_rows; }
    qint64 total() const { return m_total; }

private:
    const ArchiveRequest& m_request;
    const Dialect m_dialect;
    ArchiveFile& m_file;
    RowsPerTable m_rows;
    qint64 m_total = 0;
    bool m_archiveFailed = false;
    QString m_refusal;
    bool m_writeFailed = false;
    bool m_sealed = false;
};

} // namespace

ArchivedDeleteOutcome deleteWithArchive(Mod_DB& db, const ArchiveRequest& request,
                                        const Clock& clock)
{
    ArchivedDeleteOutcome outcome;
    const QDateTime now = clock.now();
    const DatabaseIdentity database = db.databaseIdentity();
    ArchiveFile file;
    Run run(request, db.dialect(), file);
    const DbOutcome done = db.DB_Transaction(true, [&](DbConnection& conn, DbDiagnostics& errors) {
        return run.work(conn, errors, database, now);
    });

    outcome.succeeded = done.succeeded;
    outcome.error = run.refusal().isEmpty() ? done.error : run.refusal();
    outcome.outcomeUnknown = done.outcomeUnknown;
    outcome.archiveFailed = run.archiveFailed();
    if (done.succeeded) {
        run.reached(ArchiveStep::Committed);
        outcome.rowsPerTable = run.rows();
        outcome.rowsDeleted = run.total();
        // The rows are gone and the sealed file holds them. Should the new name not stick, the
        // next start finishes the file.
        if (run.sealed()) {
            file.publish();
            outcome.archiveFile = file.path();
        }
    } else if (done.outcomeUnknown && run.sealed()) {
        outcome.archiveFile = file.path(); // the next start settles it
    } else {
        file.remove();
    }
    return outcome;
}
