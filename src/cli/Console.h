#pragma once

// A window program on Windows has no console of its own: the command line writes to the one it
// was started from, in UTF-8. Elsewhere standard output is already there.
void attachParentConsole();
