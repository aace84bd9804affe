#pragma once

#include "operations/Flow.h"

#include <QDateTime>
#include <optional>

// A health report of one store's database for a chain's monitoring: what is waiting in the work
// areas, how large the database is, when its indexes were last rebuilt and what the archive
// holds. Reads only: it changes nothing and writes no log entry.
namespace StatusFlow {

struct Status
{
    bool succeeded = false;
    QString error; // the server's words when a count was refused
    qint64 openChecks = 0;
    qint64 unfinishedDeliveries = 0;
    qint64 paymentCancelRows = 0;        // the three work tables together
    std::optional<qint64> databaseBytes; // when the server tells it
    QString oldestUnfinishedDelivery;    // its date as stored; empty when there is none
    QDateTime lastOptimise;              // invalid when the log holds none
    qint64 archiveFiles = 0;
    qint64 archiveBytes = 0;
};

// Over a connected database.
Status read(const FlowContext& context);

// The time of the newest entry tagged tag that did not fail, in the daily log files of folder.
QDateTime lastLogged(const QString& folder, const QString& tag);

} // namespace StatusFlow
