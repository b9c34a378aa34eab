// The top level: start-up, the evaluate-text entry, loading files and the
// user break.
#pragma once

#include "node.h"

namespace velloq {

// Builds the interpreter from nothing.  False (after printing the fatal
// error) when start-up failed.  Never raises.
bool start_interpreter();
// Releases everything start_interpreter made.
void stop_interpreter();
// Reads the first expression of text, evaluates it and prints its value.
// *more is 1 when a value was printed, 0 otherwise.  Errors and the user
// break end here (they are printed); text must stay valid during the call.
void evaluate_top_level_text(const char* text, int* more);
// Loads a source file (".lsp" is added to a name without extension),
// evaluating each expression; false when it cannot be opened or an error
// ended it.  Catches errors; the user break passes through.
bool load_file(const char* name, bool verbose, bool print);
// Asks the front end whether the user pressed break (letting it process
// its events once); if so prints "*User-Break*" and resumes the top level.
void poll_user_break();

}  // namespace velloq
