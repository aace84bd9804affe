#include "operations/OpenChecksFlow.h"

#include "operations/SqlTexts.h"

namespace OpenChecksFlow {

SearchOutcome search(const FlowContext& context)
{
    return FlowSteps::search(context, SqlTexts::openTableSearch(context.db.dialect()));
}

ChangeOutcome remove(const FlowContext& context, const std::optional<QString>& checkNumber)
{
    const Dialect dialect = context.db.dialect();
    if (checkNumber)
        return FlowSteps::archivedDelete(context, deleteTag, archiveArea,
                                         SqlTexts::openTableDeleteOne(dialect, *checkNumber));
    return FlowSteps::archivedDelete(context, deleteTag, archiveArea,
                                     SqlTexts::openTableDeleteAll(dialect));
}

} // namespace OpenChecksFlow
