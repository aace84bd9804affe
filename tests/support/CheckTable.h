#pragma once

#include "db/TextTable.h"

// Open-table checks as a search hands them back: field names in row 0, records below.
inline TextTable checkTable(int count)
{
    TextTable table;
    table.reset(count + 1, 4);
    for (int i = 1; i <= count; ++i) {
        table.setCell(i, 0, QString::number(i));
        table.setCell(i, 1, QStringLiteral(" A%1 ").arg(i));
        table.setCell(i, 2, QStringLiteral("2026-12-06 10:%1:00").arg(i % 60, 2, 10, QChar(u'0')));
    }
    return table;
}
