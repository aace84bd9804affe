#pragma once

#include "archive/DeletePlan.h"
#include "db/Dialect.h"

#include <QString>

// The statement texts the work areas send. SQL Server receives them exactly as the POS tool has
// always sent them (every blank and line break matters to anyone comparing logs); SQLite gets the
// same text except where it cannot run T-SQL. Every text put between single quotes goes through
// quoteDoubled, so a quote typed by the user stays data. A delete comes as its table and
// condition pieces, from which both its statement and the archive's copy are built.
namespace SqlTexts {

// Doubles every single quote; ordinary text comes back unchanged.
QString quoteDoubled(const QString& text);

// Open table checks (PE).
QString openTableSearch(Dialect dialect);
Deletion openTableDeleteAll(Dialect dialect);
Deletion openTableDeleteOne(Dialect dialect, const QString& checkNumber);

// Payment-cancel work tables: lists AC_TEMP, empties all three tables in one batch.
QString payCancelSearch(Dialect dialect);
Deletion payCancelDelete(Dialect dialect);

// Unfinished deliveries (DTD), for all dates or for a range including both end dates.
QString deliverySearchAll(Dialect dialect);
QString deliverySearchRange(Dialect dialect, const QString& from, const QString& to);
Deletion deliveryDeleteAll(Dialect dialect);
Deletion deliveryDeleteRange(Dialect dialect, const QString& from, const QString& to);

// Rebuilds every index of the database named food with fill factor 90.
QString optimise(Dialect dialect);
// Frees the rebuild's two global cursors when a failed rebuild left them behind (SQL Server).
QString optimiseCleanup(Dialect dialect);

// Read-only questions for counts and the status report.
QString countRows(const QString& table, const QString& where);
// The date of the oldest delivery a delete of all dates would remove.
QString oldestUnfinishedDelivery(Dialect dialect);
// The database's size in bytes, as the server tells it.
QString databaseBytes(Dialect dialect);

// How long a statement of this SQL Server session waits for another's locks (-1: for ever).
QString lockTimeout(int milliseconds);

} // namespace SqlTexts
