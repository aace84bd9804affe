#pragma once

#include "cli/Console.h"
#include "cli/SweepOptions.h"
#include "operations/Flow.h"

// The command-line face of the work areas: runs one command over the same flows as the window,
// writes what it found to out and every complaint to err (in Korean, with the server's words),
// and returns the exit code. Shows nothing and needs no display.
namespace CommandRunner {

enum ExitCode
{
    Done = 0,
    Unreachable = 1,
    WrongCommandLine = 2,
    Failed = 3, // also: the output could not be written
    OutcomeUnknown = 4,
};

// Connects first; a failed connection is logged as the window logs it, except by status, which
// writes nothing anywhere but its output.
int run(const SweepOptions& options, const FlowContext& context, ConsoleStream& out,
        ConsoleStream& err);

} // namespace CommandRunner
