// The windowed Lisp environment: what the velloq-windowed program runs.
#pragma once

// Runs the windowed environment: splash (unless `showSplash` is false),
// main window with the docked terminal, frame browser windows.  Call it on
// the interpreter's stack (run_on_interpreter_stack): the interpreter runs
// in the window thread.  Returns the exit status.
int runWindowed(int argc, char** argv, bool showSplash);
