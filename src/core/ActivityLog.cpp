#include "core/ActivityLog.h"

#include "core/Cp949.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QByteArray kCrLf("\r\n");

// Korean Windows' default general date-time: short date yyyy-MM-dd, then the long time with
// 오전/오후 and the hour without a leading zero, e.g. "2026-12-06 오후 3:04:05". Midnight and
// noon are 12. The time is always shown, also at 0:00:00 exactly, so every entry reads alike.
QString koreanGeneralDateTime(const QDateTime& t)
{
    const int hour = t.time().hour();
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    return QStringLiteral("%1 %2 %3:%4")
        .arg(t.date().toString(QStringLiteral("yyyy-MM-dd")),
             hour < 12 ? QStringLiteral("오전") : QStringLiteral("오후"))
        .arg(hour12)
        .arg(t.time().toString(QStringLiteral("mm:ss")));
}

} // namespace

LogEntry LogEntry::connectionFailure()
{
    return {{QStringLiteral("DB접속실패!"), QStringLiteral("False")}};
}

LogEntry LogEntry::statement(const QString& address, const QString& tag, const QString& sql,
                             const QString& failure)
{
    LogEntry entry{{address, tag, sql}};
    if (!failure.isEmpty())
        entry.lines << QStringLiteral("실행실패! ") + failure;
    return entry;
}

ActivityLog::ActivityLog(QString folder, const Clock& clock)
    : m_folder(std::move(folder)), m_clock(clock)
{
}

QString ActivityLog::defaultFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/DB_Log");
#else
    return QDir::homePath() + QStringLiteral("/DB_Log");
#endif
}

QString ActivityLog::timeStamp(const QDateTime& t)
{
    return QLatin1Char('[') + koreanGeneralDateTime(t) + QLatin1Char(']');
}

QString ActivityLog::archiveFolder() const
{
    return QDir(m_folder).filePath(QStringLiteral("archive"));
}

QByteArray ActivityLog::entryBytes(const QDateTime& t, const LogEntry& entry)
{
    QByteArray bytes = Cp949::encode(timeStamp(t)) + kCrLf;
    for (const QString& line : entry.lines)
        bytes += Cp949::encode(line) + kCrLf;
    return bytes + kCrLf + kCrLf;
}

ActivityLog::Result ActivityLog::Write_Log(const LogEntry& entry)
{
    // The file is the date's of this moment even when the time stamp below has passed midnight.
    Result result;
    result.filePath = QDir(m_folder).filePath(m_clock.now().date().toString("yyyyMMdd") + ".TXT");

    const QFileInfo folder(m_folder);
    if (folder.exists() && !folder.isDir()) {
        result.error = QStringLiteral("로그 폴더 자리에 파일이 있습니다: %1")
                           .arg(QDir::toNativeSeparators(m_folder));
        return result;
    }
    // Only the log folder itself is made; a missing parent (a drive that is not there) is an
    // error like any other.
    if (!folder.exists() && !QDir().mkdir(m_folder)) {
        result.error = QStringLiteral("로그 폴더를 만들 수 없습니다: %1")
                           .arg(QDir::toNativeSeparators(m_folder));
        return result;
    }

    QFile file(result.filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        result.error = QStringLiteral("로그 파일을 열 수 없습니다: %1 (%2)")
                           .arg(QDir::toNativeSeparators(result.filePath), file.errorString());
        return result;
    }
    // One write for the whole entry, so a failure leaves at most one cut entry behind.
    const QByteArray bytes = entryBytes(m_clock.now(), entry);
    const bool complete = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!complete || file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("로그 파일에 끝까지 쓰지 못했습니다: %1 (%2)")
                           .arg(QDir::toNativeSeparators(result.filePath), file.errorString());
        return result;
    }
    result.written = true;
    return result;
}
