#include "agentcore/AgentLog.h"

#include "core/Cp949.h"

#include <QDir>
#include <QFile>

namespace {
const QString kPrefix = QStringLiteral("sweep-agent-");
const QString kSuffix = QStringLiteral(".log");
const QString kDayFormat = QStringLiteral("yyyyMMdd");
} // namespace

AgentLog::AgentLog(QString folder, const Clock& clock) : m_folder(std::move(folder)), m_clock(clock)
{
}

QString AgentLog::fileName(const QDate& day)
{
    return kPrefix + day.toString(kDayFormat) + kSuffix;
}

bool AgentLog::write(const QString& line)
{
    const QDateTime now = m_clock.now();
    // Only the folder itself is made, as the activity log does.
    if (!QDir(m_folder).exists() && !QDir().mkdir(m_folder))
        return false;
    QFile file(QDir(m_folder).filePath(fileName(now.date())));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes =
        Cp949::encode(now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + line) + "\r\n";
    return file.write(bytes) == bytes.size() && file.flush();
}

int AgentLog::removeOlderThan(int keepDays)
{
    if (keepDays <= 0)
        return 0;
    const QDate oldestKept = m_clock.now().date().addDays(-keepDays);
    int removed = 0;
    const QDir dir(m_folder);
    for (const QString& name : dir.entryList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files)) {
        const QDate day = QDate::fromString(
            name.mid(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size()), kDayFormat);
        if (day.isValid() && day < oldestKept && QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}
