#pragma once

#include "operations/Flow.h"

#include <optional>

// The open table checks: list them, delete all of them or one.
namespace OpenChecksFlow {

inline const QString deleteTag = QStringLiteral("현황삭제");
// The archive file's name word.
inline const QString archiveArea = QStringLiteral("open-checks");

SearchOutcome search(const FlowContext& context);
// Every open check, or only checkNumber's when one is given.
ChangeOutcome remove(const FlowContext& context, const std::optional<QString>& checkNumber);
// What remove would delete.
CountOutcome count(const FlowContext& context, const std::optional<QString>& checkNumber);
// Whether a search's rows hold checkNumber (compared as the grid shows it, trimmed).
bool lists(const SearchOutcome& found, const QString& checkNumber);

} // namespace OpenChecksFlow
