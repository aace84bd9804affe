#pragma once

#include "core/Clock.h"

#include <QString>
#include <functional>
#include <utility>
#include <vector>

class Mod_DB;

// Rows a delete removes from one table: exactly those the WHERE text selects (all rows when it
// is empty).
struct ArchiveCopy
{
    QString table;
    QString where;
};

struct ArchiveRequest
{
    QString folder;          // archive/ beside the activity log
    QString area;            // file name word: "open-checks", "payment-cancel", "deliveries"
    QString logTag;          // the activity log's tag for this delete
    QString address;         // the computer's address, as the log has it
    QString database;        // the database's name for the header
    QString deleteStatement; // sent exactly as it stands
    std::vector<ArchiveCopy> copies;
    // Called now and then with the rows archived so far, inside the transaction.
    std::function<void(qint64 rows)> progress;
};

using RowsPerTable = std::vector<std::pair<QString, qint64>>;

struct ArchivedDeleteOutcome
{
    bool succeeded = false;
    QString error;              // the server's words or the archive's reason; empty on success
    bool archiveFailed = false; // nothing was deleted because the file could not be written
    QString archiveError;       // then: the file and the reason (Korean, with the system's words)
    QString archiveFile;        // the file that holds the deleted rows; empty when none was kept
    RowsPerTable rowsPerTable;
    qint64 rowsDeleted = 0;
    // The connection went during the commit: the rows may be gone, so the file is kept.
    bool outcomeUnknown = false;
};

// Copies the rows the delete will remove into a new archive file, flushes it to the disk and
// runs the delete, all in one transaction that holds other writers off. If the file cannot be
// written nothing is deleted; if the delete fails the file is removed again.
ArchivedDeleteOutcome archivedDelete(Mod_DB& db, const ArchiveRequest& request, const Clock& clock);
