// The top level: start-up, the evaluate-text entry, loading files and the
// user break.
#pragma once

#include "node.h"

namespace velloq {

// Builds the interpreter from nothing.  False (after printing the fatal
// error) when start-up failed.
bool start_interpreter();
// Releases everything start_interpreter made.
void stop_interpreter();
// Reads the first expression of text, evaluates it and prints its value.
// *more is 1 when a value was printed, 0 otherwise.
void evaluate_top_level_text(const char* text, int* more);
// Loads a source file; false when it cannot be opened or an error ended it.
bool load_file(const char* name, bool verbose, bool print);
void poll_user_break();

}  // namespace velloq
