#include "operations/PayCancelFlow.h"

#include "operations/SqlTexts.h"

namespace PayCancelFlow {

SearchOutcome search(const FlowContext& context)
{
    return FlowSteps::search(context, SqlTexts::payCancelSearch(context.db.dialect()));
}

ChangeOutcome remove(const FlowContext& context)
{
    const Dialect dialect = context.db.dialect();
    return FlowSteps::archivedDelete(context, deleteTag, archiveArea,
                                     SqlTexts::payCancelDelete(dialect));
}

CountOutcome count(const FlowContext& context)
{
    return FlowSteps::count(context, SqlTexts::payCancelDelete(context.db.dialect()));
}

} // namespace PayCancelFlow
