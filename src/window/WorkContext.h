#pragma once

#include "operations/Flow.h"

#include <QString>
#include <functional>

class Mod_DB;
class ActivityLog;
class MessageBoxes;

// What a work area needs from the program: the connection, the activity log, the message boxes
// and where the computer's address for log entries comes from.
struct WorkContext
{
    Mod_DB& db;
    ActivityLog& log;
    MessageBoxes& boxes;
    std::function<QString()> localAddress;

    // The same without the boxes, for the flows.
    FlowContext flow() const { return {db, log, localAddress}; }
};
