// The top level: start-up, the evaluate-text entry, loading files, the
// user break and EXIT.
#pragma once

#include "node.h"

namespace velloq {

// Starts the interpreter: rebuilds the workspace from the image
// "velloq.wks" in the working directory when it can be opened and is
// sound, and otherwise builds everything from nothing (a damaged image is
// reported as "error: reading workspace file"); then loads "init.lsp"
// verbosely when present.  False (after printing the fatal error) when
// start-up failed.  Never raises.
bool start_interpreter();
// Releases everything start_interpreter made and closes the transcript.
void stop_interpreter();
// Reads the first expression of text from the terminal (whatever
// *STANDARD-INPUT* holds), evaluates it and prints its value.  *more is 1
// when a value was printed, 0 otherwise.  Errors, the user break and EXIT
// end here; after a fatal error nothing is evaluated any more.  text must
// stay valid during the call.
void evaluate_top_level_text(const char* text, int* more);
// Loads a source file (".lsp" is added to a name without extension),
// evaluating each expression; false when it cannot be opened or an error
// ended it.  Catches errors; the user break passes through.
bool load_file(const char* name, bool verbose, bool print);
// Asks the front end whether the user pressed break (letting it process
// its events once); if so prints "*User-Break*" and resumes the top level.
void poll_user_break();
// Resumes the top level without a message (EXIT); returns only when no
// top level is running.
void return_to_top_level();

}  // namespace velloq
