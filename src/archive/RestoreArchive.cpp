#include "archive/RestoreArchive.h"

#include "archive/ArchiveFileCheck.h"
#include "archive/ArchiveScript.h"
#include "db/Mod_DB.h"

#include <QFileInfo>

namespace {

// A statement's start, short enough for a message box.
QString shortLine(QStringView statement)
{
    constexpr qsizetype limit = 200;
    const QStringView line = statement.first(statement.indexOf(u'\r'));
    return line.size() > limit ? line.first(limit).toString() + QStringLiteral("…")
                               : line.toString();
}

QString named(const QString& server, const QString& database)
{
    return server.isEmpty() ? database : server + QStringLiteral(" / ") + database;
}

} // namespace

bool isSameDatabase(const ArchiveHeader& header, const DatabaseIdentity& connected)
{
    if (header.format >= 2 && header.server.compare(connected.server, Qt::CaseInsensitive) != 0)
        return false;
    if (header.dialect == Dialect::SqlServer)
        return header.database.compare(connected.database, Qt::CaseInsensitive) == 0;
    const QString canonical = QFileInfo(header.database).canonicalFilePath();
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity paths = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity paths = Qt::CaseSensitive;
#endif
    return (canonical.isEmpty() ? header.database : canonical).compare(connected.database, paths) ==
           0;
}

RestoreOutcome restoreArchive(Mod_DB& db, const RestoreRequest& request)
{
    RestoreOutcome outcome;
    const auto refuse = [&](const QString& why) {
        outcome.refused = true;
        outcome.error = why;
        return outcome;
    };
    const ArchiveCheck check = checkArchiveFile(request.file);
    if (!check.verified)
        return refuse(check.refusalText());
    const ArchiveHeader& header = check.header;
    if (header.dialect != db.dialect())
        return refuse(QStringLiteral("다른 종류의 데이터베이스에서 만든 보관 파일입니다"));
    const DatabaseIdentity connected = db.databaseIdentity();
    if (!request.allowOtherDatabase && !isSameDatabase(header, connected)) {
        outcome.otherDatabase = true;
        return refuse(QStringLiteral("다른 데이터베이스의 보관 파일입니다. 파일: %1, 연결된 "
                                     "데이터베이스: %2")
                          .arg(named(header.server, header.database),
                               named(connected.server, connected.database)));
    }

    QString failedAt;
    const DbOutcome done = db.DB_Transaction(true, [&](DbConnection& conn, DbDiagnostics& errors) {
        QString identityOn;
        for (const ArchiveStatementRef& s : check.statements) {
            const QStringView statement = check.statement(s);
            // Sent without its ";" and line end: exactly one statement, as the check read it.
            if (!conn.executeInTransaction(statement.chopped(3).toString(), errors)) {
                failedAt = QStringLiteral("%1번째 줄의 문장이 실패했습니다: %2")
                               .arg(s.line)
                               .arg(shortLine(statement));
                // The switch outlives the rollback, so it is turned off while still inside.
                if (!identityOn.isEmpty()) {
                    DbDiagnostics ignored;
                    conn.executeInTransaction(
                        ArchiveScript::identityInsert(identityOn, false).trimmed(), ignored);
                }
                return false;
            }
            using ArchiveStatement::Kind;
            if (s.kind == Kind::IdentityOn)
                identityOn = header.tables[s.table];
            else if (s.kind == Kind::IdentityOff)
                identityOn.clear();
            else if (++outcome.rowsRestored % 1000 == 0 && request.progress)
                request.progress(outcome.rowsRestored);
        }
        return true;
    });
    outcome.succeeded = done.succeeded;
    outcome.outcomeUnknown = done.outcomeUnknown;
    if (done.succeeded) {
        outcome.rowsPerTable = check.rowsPerTable;
        outcome.rowsRestored = check.rows;
    } else {
        outcome.error =
            failedAt.isEmpty() ? done.error : failedAt + QStringLiteral("\r\n") + done.error;
        outcome.rowsRestored = 0;
    }
    return outcome;
}
