// The windowed program, provided by the window layer when the build has it
// (NORVIX_WINDOWS).
#pragma once

#include <string>

// Starts the windowed Norvix: splash (unless `showSplash` is false), main
// window, editor and results window; loads `file` when it is not empty.
// Returns the exit status of the event loop, or 2 without any window when
// `file` cannot be opened (the reason goes to standard error).
int runWindowed(int argc, char** argv, const std::string& file, bool showSplash);
