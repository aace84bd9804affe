#include "operations/OptimiseFlow.h"

#include "operations/SqlTexts.h"

namespace OptimiseFlow {

ChangeOutcome run(const FlowContext& context)
{
    const Dialect dialect = context.db.dialect();
    ChangeOutcome outcome =
        FlowSteps::change(context, tag, SqlTexts::optimise(dialect), FlowSteps::noLockWait);
    outcome.work = ChangeOutcome::Work::Optimise;
    // A rebuild cut short leaves its global cursors open, and the next one would find them.
    if (!outcome.succeeded && dialect == Dialect::SqlServer)
        context.db.DB_Execute(SqlTexts::optimiseCleanup(dialect));
    return outcome;
}

} // namespace OptimiseFlow
