#include "maintenance/PayCancelFlow.h"

#include "maintenance/SqlTexts.h"

namespace PayCancelFlow {

SearchOutcome search(const FlowContext& context)
{
    return FlowSteps::search(context, SqlTexts::payCancelSearch(context.db.dialect()));
}

ChangeOutcome remove(const FlowContext& context)
{
    return FlowSteps::change(context, deleteTag, SqlTexts::payCancelDelete(context.db.dialect()));
}

} // namespace PayCancelFlow
