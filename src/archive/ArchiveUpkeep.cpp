#include "archive/ArchiveUpkeep.h"

#include "archive/ArchiveDisk.h"
#include "archive/ArchiveFileCheck.h"
#include "archive/ArchiveScript.h"
#include "archive/ArchiveVerifier.h"
#include "archive/RestoredMark.h"
#include "core/ActivityLog.h"
#include "db/Mod_DB.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace ArchiveUpkeep {

namespace {

using Kind = Settled::Kind;

// An archived value as the writer would write it again, for a comparison.
DbValue valueOf(const ArchiveStatement::Value& value)
{
    using Type = ArchiveStatement::Value::Type;
    switch (value.type) {
    case Type::Null:
        return {};
    case Type::Number:
        return {DbValueType::Decimal, value.text, 0, {}};
    case Type::Binary:
        return {DbValueType::Binary, {}, 0, value.bytes};
    case Type::TextBytes:
        return {DbValueType::TextBytes, {}, 0, value.bytes};
    case Type::Text:
        break;
    }
    return {DbValueType::Text, value.text, 0, {}};
}

// The query that counts the rows equal in every archived column to one archived insert.
std::optional<QString> presenceQuery(Dialect dialect, const ArchiveStatement::Parsed& insert)
{
    QStringList equal;
    for (size_t c = 0; c < insert.values.size() && c < size_t(insert.columns.size()); ++c) {
        QString test = ArchiveScript::quotedName(dialect, insert.columns[qsizetype(c)]);
        const DbValue value = valueOf(insert.values[c]);
        if (value.type == DbValueType::Null) {
            test += QStringLiteral(" IS NULL");
        } else {
            test += QStringLiteral(" = ");
            if (!ArchiveScript::appendLiteral(test, dialect, value))
                return std::nullopt;
        }
        equal << test;
    }
    return QStringLiteral("SELECT COUNT(*) FROM ") + insert.table + QStringLiteral(" WHERE ") +
           equal.join(QStringLiteral(" AND "));
}

// Whether any table's first archived row is still in the database: then the delete, which
// removes all of them at once, never committed.
std::optional<bool> rowsStillThere(Mod_DB& db, const ArchiveCheck& check, QString& reason)
{
    std::vector<bool> asked(size_t(check.header.tables.size()), false);
    for (const ArchiveStatementRef& ref : check.statements) {
        if (ref.kind != ArchiveStatement::Kind::Insert || asked[size_t(ref.table)])
            continue;
        asked[size_t(ref.table)] = true;
        const ArchiveStatement::Result read =
            ArchiveStatement::parse(check.text, ref.start, check.header.dialect, true);
        const auto sql = read.ok ? presenceQuery(check.header.dialect, read.parsed) : std::nullopt;
        if (!sql) {
            reason = read.reason;
            return std::nullopt;
        }
        TextTable found;
        qint32 records = 0, columns = 0;
        const DbOutcome counted = db.DB_Query(*sql, found, records, columns);
        if (!counted.succeeded) {
            reason = counted.error;
            return std::nullopt;
        }
        if (records > 0 && found.cell(1, 0).toLongLong() > 0)
            return true;
    }
    return false;
}

Settled settle(const QString& path, QFile& file, Mod_DB* db)
{
    Settled settled{Kind::Left, path, QString()};
    const ArchiveCheck check = verifyArchive(file.readAll());
    // The delete runs only after the seal: a file without one goes.
    bool remove = !check.finished || check.header.format != 2;
    if (!remove && !check.verified) { // sealed yet not as the writer writes: a person decides
        settled.reason = check.refusalText();
        return settled;
    }
    if (!remove) {
        if (!db || !db->isConnected() || db->dialect() != check.header.dialect) {
            settled.reason = QStringLiteral("그 데이터베이스에 연결되어 있지 않습니다");
            return settled;
        }
        const auto there = rowsStillThere(*db, check, settled.reason);
        if (!there)
            return settled;
        remove = *there;
    }
#ifdef Q_OS_WIN
    file.close(); // an open file can be neither removed nor moved there
#endif
    QString error;
    if (remove) {
        QFile gone(path);
        if (!gone.remove()) {
            settled.reason = gone.errorString();
            return settled;
        }
        settled.kind = Kind::Removed;
        settled.reason = check.finished ? QStringLiteral("행이 데이터베이스에 그대로 있습니다")
                                        : QStringLiteral("끝맺지 못한 파일입니다");
    } else if (ArchiveDisk::moveDurably(path, path.chopped(unfinishedSuffix.size()), &error)) {
        settled.kind = Kind::Finished;
    } else {
        settled.reason = error;
    }
    return settled;
}

} // namespace

std::vector<Settled> settleUnfinished(const QString& folder, Mod_DB* db)
{
    std::vector<Settled> done;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QStringLiteral("*.sql") + unfinishedSuffix}, QDir::Files, QDir::Name)) {
        const QString path = dir.filePath(name);
        QFile file(path);
        // A file another program holds is being written right now: its delete decides.
        if (!file.open(QIODevice::ReadOnly) || !ArchiveDisk::lock(file.handle()))
            continue;
        done.push_back(settle(path, file, db));
    }
    return done;
}

QStringList removeOld(const QString& folder, const QDateTime& now, int days)
{
    if (days <= 0)
        return {};
    const QDir dir(folder);
    std::vector<std::pair<QDateTime, QString>> archives;
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*.sql")}, QDir::Files)) {
        QDateTime made =
            QDateTime::fromString(info.fileName().left(15), QStringLiteral("yyyyMMdd-HHmmss"));
        if (!made.isValid())
            made = info.lastModified();
        archives.emplace_back(made, info.filePath());
    }
    std::sort(archives.begin(), archives.end());
    if (!archives.empty())
        archives.pop_back(); // the newest stays, however old
    QStringList removed;
    for (const auto& [made, path] : archives) {
        if (made < now.addDays(-days) && QFile::remove(path)) {
            QFile::remove(RestoredMark::pathFor(path)); // a mark outlives nothing it marks
            removed << path;
        }
    }
    return removed;
}

int keepDays(const QString& iniValue)
{
    bool number = false;
    const int days = iniValue.trimmed().toInt(&number);
    return number && days >= 0 ? days : defaultKeepDays;
}

QString logLine(const Settled& settled)
{
    const QString file = QDir::toNativeSeparators(settled.file);
    switch (settled.kind) {
    case Kind::Removed:
        return QStringLiteral("삭제되지 않은 작업의 보관 파일을 지웠습니다(%1): %2")
            .arg(settled.reason, file);
    case Kind::Finished:
        return QStringLiteral("삭제가 끝난 작업의 보관 파일을 마무리했습니다: %1")
            .arg(file.chopped(unfinishedSuffix.size()));
    case Kind::Left:
        break;
    }
    return QStringLiteral("끝나지 않은 보관 파일을 정리하지 못했습니다(%1): %2")
        .arg(settled.reason, file);
}

QString logLine(const QStringList& removed, int days)
{
    QStringList names;
    for (const QString& path : removed)
        names << QFileInfo(path).fileName();
    return QStringLiteral("%1일이 지난 보관 파일 %2개를 지웠습니다: %3")
        .arg(days)
        .arg(removed.size())
        .arg(names.join(QStringLiteral(", ")));
}

void atStart(const DbTarget& target, ActivityLog& log, const std::function<QString()>& address,
             int days)
{
    const QString folder = log.archiveFolder();
    const QString unfinished = QStringLiteral("*.sql") + unfinishedSuffix;
    std::optional<Mod_DB> db;
    if (!QDir(folder).entryList({unfinished}, QDir::Files).isEmpty()) {
        db.emplace(target); // its own connection, only when there is something to settle
        db->DB_Connect();
    }
    for (const Settled& settled : settleUnfinished(folder, db ? &*db : nullptr))
        log.Write_Log(LogEntry::statement(address(), tag, logLine(settled)));
    const QStringList removed = removeOld(folder, log.clock().now(), days);
    if (!removed.isEmpty())
        log.Write_Log(LogEntry::statement(address(), tag, logLine(removed, days)));
}

} // namespace ArchiveUpkeep
