#include "operations/RestoreFlow.h"

#include "archive/RestoredMark.h"

#include <QDir>
#include <QFileInfo>

namespace RestoreFlow {

Outcome run(const FlowContext& context, const RestoreRequest& request)
{
    Outcome outcome;
    const QString address = context.localAddress ? context.localAddress() : QString();
    const QString& file = request.file;
    outcome.restore = restoreArchive(context.db, request);
    outcome.logged = context.log.Write_Log(LogEntry::statement(
        address, tag, QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()),
        outcome.restore.succeeded ? QString() : outcome.restore.error));
    if (outcome.restore.succeeded)
        RestoredMark::write(file, context.log.clock().now(), outcome.restore.rowsRestored);
    return outcome;
}

} // namespace RestoreFlow
