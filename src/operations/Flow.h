#pragma once

#include "archive/ArchivedDelete.h"
#include "core/ActivityLog.h"
#include "db/Mod_DB.h"
#include "db/TextTable.h"

#include <QString>
#include <functional>
#include <optional>

// What every search, delete and optimisation needs, with no window: the connection, the activity
// log (which also names the archive folder and the clock) and the computer's address for entries.
struct FlowContext
{
    Mod_DB& db;
    ActivityLog& log;
    std::function<QString()> localAddress;
};

// What a search found: the text table with its counts, or the server's words.
struct SearchOutcome
{
    bool succeeded = false;
    QString error;
    TextTable table;
    qint32 rows = 0;
    qint32 columns = 0;
};

// What became of a statement that changes data. The log entry is written whatever the outcome;
// logged says whether it reached the file.
struct ChangeOutcome
{
    enum class Work
    {
        Delete,
        Optimise,
    };
    Work work = Work::Delete;
    QString sql; // exactly as sent
    bool succeeded = false;
    QString error;               // the server's words when it failed
    bool outcomeUnknown = false; // the connection went during the commit
    ActivityLog::Result logged;
    // A delete: the rows it removed (-1 when not counted) and the archive that holds them.
    qint64 rowsDeleted = -1;
    QString archiveFile;
    bool archiveFailed = false; // the archive could not be written, so nothing was deleted
};

// What a delete would remove, table by table, or the server's words.
struct CountOutcome
{
    bool succeeded = false;
    QString error;
    RowsPerTable rows;

    qint64 total() const;
};

namespace FlowSteps {
// Runs a query into a fresh outcome.
SearchOutcome search(const FlowContext& context, const QString& sql);
// The number a query of one row and one column answers, or nothing when it fails (error says
// why) or answers NULL.
std::optional<qint64> number(const FlowContext& context, const QString& sql, QString* error);
// Counts the rows each part of a delete removes, with the part's own table and condition.
CountOutcome count(const FlowContext& context, const Deletion& deletion);
// How long a delete waits for a POS terminal's locks before it gives up with the server's words;
// the index rebuild waits as long as it takes.
inline constexpr int deleteLockWaitMs = 30000;
inline constexpr int noLockWait = -1;

// Runs a changing statement in its own transaction and writes its log entry. On SQL Server the
// session's lock wait is set first.
ChangeOutcome change(const FlowContext& context, const QString& tag, const QString& sql,
                     int lockWaitMs = deleteLockWaitMs);
// A delete: copies the rows it removes into a new file in the archive folder, then runs it, both
// in one transaction; nothing is deleted when the copy cannot be written. Logged like change().
ChangeOutcome archivedDelete(const FlowContext& context, const QString& tag, const QString& area,
                             const Deletion& deletion);
} // namespace FlowSteps
