#pragma once

#include "operations/Flow.h"

// The unfinished deliveries: list them for all dates or a range, delete exactly those.
namespace DeliveriesFlow {

inline const QString deleteTag = QStringLiteral("배달전체삭제");
// The archive file's name word.
inline const QString archiveArea = QStringLiteral("deliveries");

// Which deliveries: all dates, or the ones whose date lies between from and to (both kept in
// the yyyy-mm-dd form the statements take).
struct Range
{
    bool allDates = true;
    QString from;
    QString to;

    static Range all() { return {}; }
    // The dates as typed; they are normalised the way the date boxes show them.
    static Range between(const QString& from, const QString& to);
};

SearchOutcome search(const FlowContext& context, const Range& range);
ChangeOutcome remove(const FlowContext& context, const Range& range);
// What remove would delete.
CountOutcome count(const FlowContext& context, const Range& range);

} // namespace DeliveriesFlow
