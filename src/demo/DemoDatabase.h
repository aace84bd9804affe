#pragma once

#include "db/Dialect.h"

#include <QString>

// How much the demo database holds beyond its fixed sample rows. The sample rows are always
// there (the work areas and tests rely on their mix); the extra rows are generated with the
// same mix for benchmarks and for trying the grids on a large table.
struct DemoSize
{
    int extraDeliveries = 0; // DTD rows
    int extraChecks = 0;     // PE rows, one in three still open
    int extraPayments = 0;   // AC_TEMP rows, alternately card and cash, with their work rows
};

// The terminal the demo's POS table knows, for the agent's token request.
namespace DemoTerminal {
inline constexpr char rctCode[] = "DEMO01";
inline constexpr char posId[] = "01";
inline constexpr char macAddress[] = "00-1A-2B-3C-4D-5E";
} // namespace DemoTerminal

// <user data folder>/demo-pos.sqlite
QString defaultDemoDatabasePath();

// Creates a SQLite POS database at file with the demo schema, sample rows and size's extra rows.
// Refuses a file that already exists; the folder is created when missing. A failure leaves no
// file behind and says why in error.
bool createDemoDatabase(const QString& file, const DemoSize& size = {}, QString* error = nullptr);

// The demo database at file (the default one when file is empty), created with the sample rows
// when it does not exist yet. Returns the file, or an empty text with the reason in error.
QString openOrCreateDemoDatabase(const QString& file, QString* error);

// The schema, the sample rows and the indexes as one script in the given dialect (the SQL Server
// one is the fixture script for a real server).
QString demoDatabaseScript(Dialect dialect);
