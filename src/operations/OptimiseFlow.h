#pragma once

#include "operations/Flow.h"

// Rebuilds every index of the POS database.
namespace OptimiseFlow {

inline const QString tag = QStringLiteral("DB최적화");

ChangeOutcome run(const FlowContext& context);

} // namespace OptimiseFlow
