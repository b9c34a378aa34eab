// The one error path.  Every error of the interpreter goes through
// report_error, which prints "error: " and the message (and " - " with the
// offending value) when the catching context asks for it, and resumes the
// innermost ERRSET, LOAD or the top level by a non-local jump.
#pragma once

namespace velloq {

struct Node;

// message must outlive the jump (a literal).  With no context to resume,
// the front end's exit hook runs and the process exits with status 3.
[[noreturn]] void report_error(const char* message);
[[noreturn]] void report_error(const char* message, Node* value);
// Fatal errors print "error: %s\n", set fatal_error_seen, call the front
// end's exit hook and return to the top level (or end start-up); ERRSET
// does not catch them.  The front end then ends the session: the
// interpreter's memory may be exhausted or inconsistent, so nothing more
// is evaluated.
[[noreturn]] void fatal_error(const char* message);
// Called when a context is resumed: an error text left half printed no
// longer blocks the next one.
void reset_error_state();

}  // namespace velloq
