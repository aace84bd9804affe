#pragma once

#include "archive/RestoreArchive.h"
#include "operations/Flow.h"

// Puts the rows of an archive file back, all or none, logs it, and marks a restored file so. A
// refused file (see restoreArchive) changes nothing and is logged with its reason.
namespace RestoreFlow {

inline const QString tag = QStringLiteral("복원");

struct Outcome
{
    RestoreOutcome restore;
    ActivityLog::Result logged;
};

Outcome run(const FlowContext& context, const RestoreRequest& request);

} // namespace RestoreFlow
