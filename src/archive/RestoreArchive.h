#pragma once

#include "archive/ArchiveVerifier.h"
#include "archive/ArchivedDelete.h"
#include "db/Mod_DB.h"

#include <QString>
#include <functional>
#include <utility>

struct RestoreRequest
{
    RestoreRequest(QString path, bool otherDatabase = false)
        : file(std::move(path)), allowOtherDatabase(otherDatabase)
    {
    }

    QString file;
    // Puts the rows into the connected database although the file names another, on purpose.
    bool allowOtherDatabase = false;
    // Hears the rows put back so far now and then.
    std::function<void(qint64 rows)> progress;
};

struct RestoreOutcome
{
    bool succeeded = false;
    // The file was refused before anything was sent: not ours, unfinished, changed, holding a
    // statement that is not the writer's, of another kind of database or naming another one.
    bool refused = false;
    // Refused only because it names another database; asked for on purpose it would run.
    bool otherDatabase = false;
    // Why not: the refusal with its line, or the statement that failed (its line and start) with
    // the server's words. Empty on success.
    QString error;
    RowsPerTable rowsPerTable; // rows put back, in the file's order
    qint64 rowsRestored = 0;
    bool outcomeUnknown = false; // the connection went during the commit
};

// Whether the database a header names is the connected one (a format-1 header names no server,
// so its database alone is compared). A list of archives marks the others with it.
bool isSameDatabase(const ArchiveHeader& header, const DatabaseIdentity& connected);

// Checks the whole archive file, then runs its statements and nothing else in one transaction:
// every row goes back or none does. A row whose key exists again fails the whole restore, so
// the same file cannot be applied twice.
RestoreOutcome restoreArchive(Mod_DB& db, const RestoreRequest& request);
