// norvix --consult FILE with its options: the replies from a script
// (--answers), the dialogue copied to a file (--log), the explanation after
// the result (--explain).
#pragma once

#include <istream>
#include <ostream>

#include "command_line.h"

namespace norvix {

// Runs the consultation `cl` describes.  Replies come from cl.answers when
// given (read like standard input: one reply a line, other lines ignored,
// the end cancels), else from `in`.  With cl.log, everything written to
// `out` is also written to that file, replaced atomically when the run
// ends, so it never holds half a dialogue.  Exit status as
// RunConsoleConsultation; 2 as well when the script cannot be read or the
// log cannot be written (the dialogue on `out` is complete all the same).
int RunConsultCommand(const CommandLine& cl, std::istream& in, std::ostream& out,
                      std::ostream& err);

}  // namespace norvix
