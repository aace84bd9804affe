#pragma once

#include "support/FlowHarness.h"
#include "support/ScriptedMessageBoxes.h"
#include "window/ResultGrid.h"
#include "window/WorkContext.h"

// A work area's surroundings: an operation's, with scripted boxes.
struct AreaHarness : FlowHarness
{
    using FlowHarness::FlowHarness;

    ScriptedMessageBoxes boxes;
    WorkContext context{*db, log, boxes, localAddress};

    // Picks a data row the way a click does.
    static void choose(ResultGrid& grid, int row)
    {
        grid.setCurrentIndex(grid.model()->index(row - 1, 1));
    }
};
