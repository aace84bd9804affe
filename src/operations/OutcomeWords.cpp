#include "operations/OutcomeWords.h"

#include "archive/RestoreArchive.h"

#include <QDir>

namespace OutcomeWords {

QString Report::boxText() const
{
    QString text = headline;
    for (const QString& note : notes)
        text += u'\n' + note;
    if (!reason.isEmpty())
        text += QStringLiteral("\n\n") + reason;
    return text;
}

QStringList Report::lines() const
{
    QStringList out{headline};
    out += notes;
    if (!reason.isEmpty())
        out += reason;
    return out;
}

Report changeFailure(const ChangeOutcome& outcome)
{
    Report report;
    report.reason = outcome.error;
    const bool optimise = outcome.work == ChangeOutcome::Work::Optimise;
    if (outcome.outcomeUnknown) {
        report.headline = optimise ? changeUnknown : deleteUnknown;
        // The rows may be gone: the copy kept of them is named.
        if (!outcome.archiveFile.isEmpty())
            report.notes += archiveFile(outcome.archiveFile);
    } else if (outcome.archiveFailed) {
        report.headline = archiveFailed;
    } else {
        report.headline = optimise ? optimiseFailed : deleteFailed;
    }
    return report;
}

Report searchFailure(const SearchOutcome& outcome)
{
    return {searchFailed, {}, outcome.error};
}

Report restoreFailure(const RestoreOutcome& outcome)
{
    return {outcome.outcomeUnknown ? restoreUnknown : restoreFailed, {}, outcome.error};
}

Report logFailure(const ActivityLog::Result& logged)
{
    return {logFailed, {logFileLabel + QDir::toNativeSeparators(logged.filePath)}, logged.error};
}

QString rowsDeleted(qint64 rows)
{
    return rows == 0 ? nothingDeleted : QStringLiteral("삭제한 데이터: %1건").arg(rows);
}

QString rowsRestored(qint64 rows)
{
    return QStringLiteral("복원한 데이터: %1건").arg(rows);
}

QString archiveFile(const QString& path)
{
    return archiveFileLabel + QDir::toNativeSeparators(path);
}

} // namespace OutcomeWords
