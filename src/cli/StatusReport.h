#pragma once

#include "operations/StatusFlow.h"

#include <QString>

// The status report as a monitoring system collects it: one JSON object with the keys
// open_checks, unfinished_deliveries, payment_cancel_rows, database_bytes,
// oldest_unfinished_delivery, last_optimise (ISO 8601 with the UTC offset), archive_files and
// archive_bytes; a figure nobody can tell is null.
QString statusJson(const StatusFlow::Status& status);
// The same figures as a Korean table for a technician.
QString statusTable(const StatusFlow::Status& status);
