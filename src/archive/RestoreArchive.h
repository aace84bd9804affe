#pragma once

#include "archive/ArchivedDelete.h"

#include <QString>

class Mod_DB;

struct RestoreOutcome
{
    bool succeeded = false;
    // Why not: a file that is not ours or of another dialect, or the statement that failed (its
    // number and first line) with the server's words. Empty on success.
    QString error;
    RowsPerTable rowsPerTable; // rows put back, in the file's order
    qint64 rowsRestored = 0;
    bool outcomeUnknown = false; // the connection went during the commit
};

// Runs an archive file of ours in one transaction: every row goes back or none does. A row
// whose key exists again fails the whole restore, so the same file cannot be applied twice.
// progress, when given, hears the rows put back so far now and then.
RestoreOutcome restoreArchive(Mod_DB& db, const QString& file,
                              const std::function<void(qint64 rows)>& progress = {});
