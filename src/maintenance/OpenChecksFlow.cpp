#include "maintenance/OpenChecksFlow.h"

#include "maintenance/SqlTexts.h"

namespace OpenChecksFlow {

SearchOutcome search(const FlowContext& context)
{
    return FlowSteps::search(context, SqlTexts::openTableSearch(context.db.dialect()));
}

ChangeOutcome remove(const FlowContext& context, const std::optional<QString>& checkNumber)
{
    const Dialect dialect = context.db.dialect();
    const QString sql = checkNumber ? SqlTexts::openTableDeleteOne(dialect, *checkNumber)
                                    : SqlTexts::openTableDeleteAll(dialect);
    return FlowSteps::change(context, deleteTag, sql);
}

} // namespace OpenChecksFlow
