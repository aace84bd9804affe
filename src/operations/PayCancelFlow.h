#pragma once

#include "operations/Flow.h"

// The payment-cancel work tables: list their rows, empty all three together.
namespace PayCancelFlow {

inline const QString deleteTag = QStringLiteral("결제취소삭제");
// The archive file's name word.
inline const QString archiveArea = QStringLiteral("payment-cancel");

SearchOutcome search(const FlowContext& context);
ChangeOutcome remove(const FlowContext& context);
// What remove would delete from each of the three tables.
CountOutcome count(const FlowContext& context);

} // namespace PayCancelFlow
