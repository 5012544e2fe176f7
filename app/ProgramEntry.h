#pragma once

// The program's entry sequence: hand over to a running instance or start, log, show the
// main window, run, and shut down in order.

namespace app {

// Returns the process exit code. A start that hands its arguments to a running instance
// returns 0 without creating any window.
int RunProgram(int argc, char** argv);

} // namespace app
