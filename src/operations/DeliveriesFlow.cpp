#include "operations/DeliveriesFlow.h"

#include "operations/DateNormalise.h"
#include "operations/SqlTexts.h"

namespace DeliveriesFlow {

Range Range::between(const QString& from, const QString& to)
{
    return {false, normaliseDate(from), normaliseDate(to)};
}

SearchOutcome search(const FlowContext& context, const Range& range)
{
    const Dialect dialect = context.db.dialect();
    return FlowSteps::search(
        context, range.allDates ? SqlTexts::deliverySearchAll(dialect)
                                : SqlTexts::deliverySearchRange(dialect, range.from, range.to));
}

ChangeOutcome remove(const FlowContext& context, const Range& range)
{
    const Dialect dialect = context.db.dialect();
    if (range.allDates)
        return FlowSteps::archivedDelete(context, deleteTag, archiveArea,
                                         SqlTexts::deliveryDeleteAll(dialect));
    return FlowSteps::archivedDelete(context, deleteTag, archiveArea,
                                     SqlTexts::deliveryDeleteRange(dialect, range.from, range.to));
}

CountOutcome count(const FlowContext& context, const Range& range)
{
    const Dialect dialect = context.db.dialect();
    return FlowSteps::count(
        context, range.allDates ? SqlTexts::deliveryDeleteAll(dialect)
                                : SqlTexts::deliveryDeleteRange(dialect, range.from, range.to));
}

} // namespace DeliveriesFlow
