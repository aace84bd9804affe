#pragma once

#include "operations/GridColumn.h"

#include <QString>
#include <vector>

// "General" shows text to the left and numbers to the right; both are vertically centred.
enum class GridAlignment
{
    General,
    Centre,
};

struct GridColumnLayout
{
    QString header;
    int widthTwips;
    GridAlignment cells;
    GridAlignment headerAlignment;
    GridColumn source;
};

// The visible columns of one result grid, from grid column 1 on (column 0 is hidden).
struct GridLayout
{
    std::vector<GridColumnLayout> columns;

    std::vector<GridColumn> columnMap() const;
};

const GridLayout& openTableGridLayout(); // FLEX: open table checks (PE)
const GridLayout& payCancelGridLayout(); // Flex1: payment-cancel work rows (AC_TEMP)
const GridLayout& deliveryGridLayout();  // flex2: unfinished deliveries (DTD)
