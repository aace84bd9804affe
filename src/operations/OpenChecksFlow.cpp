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

CountOutcome count(const FlowContext& context, const std::optional<QString>& checkNumber)
{
    const Dialect dialect = context.db.dialect();
    return FlowSteps::count(context, checkNumber
                                         ? SqlTexts::openTableDeleteOne(dialect, *checkNumber)
                                         : SqlTexts::openTableDeleteAll(dialect));
}

bool lists(const SearchOutcome& found, const QString& checkNumber)
{
    // The check number is the search's second column.
    for (qint32 row = 1; row <= found.rows; ++row)
        if (found.table.cellView(row, 1).trimmed() == checkNumber)
            return true;
    return false;
}

} // namespace OpenChecksFlow
