#pragma once

#include "archive/ArchiveScript.h"
#include "archive/DeletePlan.h"
#include "core/Clock.h"

#include <QString>
#include <functional>

class Mod_DB;

// The moments of a delete with its archive, for whoever watches it (a progress box, a test that
// stops the program there).
enum class ArchiveStep
{
    Copied,    // every row is in the unfinished file, which is not sealed yet
    Sealed,    // the file is sealed and on the disk; nothing is deleted yet
    Deleted,   // the delete ran, its transaction is not committed
    Committed, // the rows are gone; the file still has its unfinished name
};

struct ArchiveRequest
{
    QString folder;   // archive/ beside the activity log
    QString area;     // file name word: "open-checks", "payment-cancel", "deliveries"
    QString logTag;   // the activity log's tag for this delete
    QString computer; // the computer's name and, in brackets, its address as the log has it
    Deletion deletion;
    // Run first inside the transaction (SQL Server's lock wait); empty: nothing.
    QString sessionSetup;
    // Called now and then with the rows archived so far, inside the transaction.
    std::function<void(qint64 rows)> progress;
    std::function<void(ArchiveStep step)> reached;
};

struct ArchivedDeleteOutcome
{
    bool succeeded = false;
    // Why not: the server's words, or the archive's reason (the file and the system's words).
    QString error;
    bool archiveFailed = false; // nothing was deleted because the copy could not be made whole
    QString archiveFile;        // the file that holds the deleted rows; empty when none was kept
    RowsPerTable rowsPerTable;
    qint64 rowsDeleted = 0;
    // The connection went during the commit: the rows may be gone, so the unfinished file is
    // kept for the next start to settle.
    bool outcomeUnknown = false;
};

// Copies the rows the delete will remove into a new archive file, seals it on the disk, runs the
// delete and checks it removed exactly the rows copied and nothing else, all in one transaction
// that holds other writers off; after the commit the file gets its final name. A delete the
// database would widen by itself (cascading keys, delete triggers), a value that cannot be
// written exactly or a file that cannot be written deletes nothing. A delete that removes
// nothing leaves no file.
ArchivedDeleteOutcome deleteWithArchive(Mod_DB& db, const ArchiveRequest& request,
                                        const Clock& clock);
