#pragma once

#include "cli/SweepOptions.h"
#include "window/WorkContext.h"

#include <functional>

class Frm_Sweep_1;

// The whole sweep program once the application object exists: help, a wrong call, one command,
// or the window. Returns the exit code.
int runSweep(const SweepOptions& options);

// Whether the window can be shown: on Linux a display (X11 or Wayland) or a platform chosen
// through QT_QPA_PLATFORM. Checked before the application object exists, which would end the
// process without one.
bool displayAvailable();
// Says on standard error which commands run without a display; returns the exit code.
int refuseWithoutDisplay();

// Loads the maintenance window and runs it until it closes. Returns the process exit code: 0
// after the window closed, 1 when the database could not be reached (the window is never shown).
// shown is called once the window is on screen, before the event loop starts.
int runMaintenanceWindow(WorkContext context,
                         const std::function<void(Frm_Sweep_1&)>& shown = nullptr);

// Ends the event loop once the window has painted itself for the first time.
void quitAfterFirstPaint(Frm_Sweep_1& window);
