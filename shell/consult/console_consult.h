// The console consultation (norvix --consult FILE): the dialog on standard
// output, replies from standard input.
#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace norvix {

// Loads `file` and runs one consultation; text goes through the terminal
// encoding.  Returns 0 when a solution was found, 1 when none was (a cancel
// included), 2 when the file could not be loaded or names no target.
// With `explain`, the explanation of the run follows the result tree (or
// the failure).
int RunConsoleConsultation(const std::string& file, std::istream& in, std::ostream& out,
                           std::ostream& err, bool explain = false);

}  // namespace norvix
