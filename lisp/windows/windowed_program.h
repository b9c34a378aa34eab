// The windowed Lisp environment, provided by the window layer when the
// build has it (VELLOQ_WINDOWS).
#pragma once

// Whether a window system can be reached (a display, or a Qt platform
// named in QT_QPA_PLATFORM).
bool displayReachable();

// Runs the windowed environment: splash (unless `showSplash` is false),
// main window with the docked terminal, frame browser windows.  Call it on
// the interpreter's stack (run_on_interpreter_stack): the interpreter runs
// in the window thread.  Returns the exit status.
int runWindowed(int argc, char** argv, bool showSplash);
