#pragma once

// One grid column's source in a query result: the field position and whether it holds a
// date-time, which the grid shows in its own pattern.
struct GridColumn
{
    int field;
    bool dateTime;
};
