#include "archive/RestoreArchive.h"

#include "archive/ArchiveScript.h"
#include "db/Mod_DB.h"
#include "db/ScriptSplitter.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {

// A statement's first line, short enough for a message box.
QString shortLine(const QString& statement)
{
    const QString line = ScriptSplitter::firstLine(statement);
    constexpr qsizetype limit = 200;
    return line.size() > limit ? line.left(limit) + QStringLiteral("…") : line;
}

void countRow(RowsPerTable& rows, const QString& table)
{
    if (rows.empty() || rows.back().first != table)
        rows.emplace_back(table, 0);
    ++rows.back().second;
}

} // namespace

RestoreOutcome restoreArchive(Mod_DB& db, const QString& path,
                              const std::function<void(qint64 rows)>& progress)
{
    RestoreOutcome outcome;
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.error =
            QStringLiteral("보관 파일을 열 수 없습니다: %1 (%2)").arg(shown, file.errorString());
        return outcome;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString first = decoder.decode(file.readLine(4096));
    const std::optional<Dialect> dialect = ArchiveScript::dialectOfFirstLine(first);
    if (!dialect) {
        outcome.error = QStringLiteral("Sweep 보관 파일이 아닙니다: ") + shown;
        return outcome;
    }
    if (*dialect != db.dialect()) {
        outcome.error =
            QStringLiteral("다른 종류의 데이터베이스에서 만든 보관 파일입니다: ") + shown;
        return outcome;
    }

    QString failedAt;
    QString readError;
    const DbOutcome done = db.DB_Transaction(true, [&](DbConnection& conn, DbDiagnostics& errors) {
        qint64 number = 0;
        ScriptSplitter splitter([&](const QString& statement) {
            ++number;
            // Comments stay behind: the SQLite ODBC driver takes a leading one for a statement.
            const QStringView code = ScriptSplitter::code(statement);
            if (!conn.executeInTransaction(code.toString(), errors)) {
                failedAt = QStringLiteral("%1번째 문장이 실패했습니다: %2")
                               .arg(number)
                               .arg(shortLine(statement));
                return false;
            }
            const QString table = ArchiveScript::insertedTable(code);
            if (!table.isEmpty()) {
                countRow(outcome.rowsPerTable, table);
                if (++outcome.rowsRestored % 1000 == 0 && progress)
                    progress(outcome.rowsRestored);
            }
            return true;
        });
        while (!file.atEnd()) {
            const QByteArray chunk = file.read(1 << 20);
            if (chunk.isEmpty() && file.error() != QFileDevice::NoError) {
                readError = file.errorString();
                errors.push_back({-1,
                                  QStringLiteral("보관 파일을 읽을 수 없습니다: ") + shown +
                                      QStringLiteral(" (") + readError + QLatin1Char(')'),
                                  QString()});
                return false;
            }
            if (!splitter.feed(QString(decoder.decode(chunk))))
                return false;
        }
        if (decoder.hasError()) {
            errors.push_back(
                {-1, QStringLiteral("보관 파일이 UTF-8이 아닙니다: ") + shown, QString()});
            return false;
        }
        return splitter.finish();
    });
    outcome.succeeded = done.succeeded;
    outcome.outcomeUnknown = done.outcomeUnknown;
    if (!done.succeeded) {
        outcome.error =
            failedAt.isEmpty() ? done.error : failedAt + QStringLiteral("\r\n") + done.error;
        outcome.rowsPerTable.clear();
        outcome.rowsRestored = 0;
    }
    return outcome;
}
