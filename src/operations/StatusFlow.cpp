#include "operations/StatusFlow.h"

#include "core/Cp949.h"
#include "operations/DeliveriesFlow.h"
#include "operations/OpenChecksFlow.h"
#include "operations/OptimiseFlow.h"
#include "operations/PayCancelFlow.h"
#include "operations/SqlTexts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace StatusFlow {

namespace {

// The words the log's time stamps use for the afternoon, and the mark of a failed statement,
// taken from the log's own writer.
QString afternoonWord()
{
    return ActivityLog::timeStamp(QDateTime(QDate(2000, 1, 1), QTime(13, 0))).section(u' ', 1, 1);
}

QString failureMark()
{
    return LogEntry::statement({}, {}, {}, QStringLiteral(" ")).lines.last().chopped(1);
}

// The newest entry in one file's text, or an invalid time.
QDateTime lastIn(const QString& text, const QString& tag)
{
    const QRegularExpression entry(
        QStringLiteral(
            R"(^\[(\d{4}-\d{2}-\d{2}) (\S+) (\d{1,2}):(\d{2}):(\d{2})\]\r\n[^\r\n]*\r\n)") +
            QRegularExpression::escape(tag) + QStringLiteral("\r\n"),
        QRegularExpression::MultilineOption);
    const QString crlf = QStringLiteral("\r\n");
    const QString failed = crlf + failureMark();
    const QString afternoon = afternoonWord();
    QDateTime last;
    for (auto it = entry.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        // Every entry ends with two empty lines.
        const qsizetype body = m.capturedEnd() - crlf.size();
        qsizetype end = text.indexOf(crlf + crlf + crlf, body);
        if (end < 0)
            end = text.size();
        const qsizetype failure = text.indexOf(failed, body);
        if (failure >= 0 && failure < end)
            continue;
        const int hour = m.captured(3).toInt() % 12 + (m.captured(2) == afternoon ? 12 : 0);
        const QDateTime at(QDate::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd")),
                           QTime(hour, m.captured(4).toInt(), m.captured(5).toInt()));
        if (at.isValid())
            last = at;
    }
    return last;
}

} // namespace

QDateTime lastLogged(const QString& folder, const QString& tag)
{
    // The files are named by date, so the newest comes first in reverse name order.
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("????????.TXT")}, QDir::Files,
                                             QDir::Name | QDir::Reversed)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QDateTime last = lastIn(Cp949::decode(file.readAll()), tag);
        if (last.isValid())
            return last;
    }
    return {};
}

Status read(const FlowContext& context)
{
    Status status;
    const Dialect dialect = context.db.dialect();
    const DeliveriesFlow::Range all = DeliveriesFlow::Range::all();
    const CountOutcome counts[] = {OpenChecksFlow::count(context, std::nullopt),
                                   DeliveriesFlow::count(context, all),
                                   PayCancelFlow::count(context)};
    for (const CountOutcome& count : counts) {
        if (!count.succeeded) {
            status.error = count.error;
            return status;
        }
    }
    status.openChecks = counts[0].total();
    status.unfinishedDeliveries = counts[1].total();
    status.paymentCancelRows = counts[2].total();

    const SearchOutcome oldest =
        FlowSteps::search(context, SqlTexts::oldestUnfinishedDelivery(dialect));
    if (!oldest.succeeded) {
        status.error = oldest.error;
        return status;
    }
    if (oldest.rows > 0)
        status.oldestUnfinishedDelivery = oldest.table.cell(1, 0).trimmed();

    status.databaseBytes = FlowSteps::number(context, SqlTexts::databaseBytes(dialect), nullptr);
    status.lastOptimise = lastLogged(context.log.folder(), OptimiseFlow::tag);
    for (const QFileInfo& file :
         QDir(context.log.archiveFolder()).entryInfoList({QStringLiteral("*.sql")}, QDir::Files)) {
        ++status.archiveFiles;
        status.archiveBytes += file.size();
    }
    status.succeeded = true;
    return status;
}

} // namespace StatusFlow
