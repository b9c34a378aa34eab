// The front end of `velloq --tty`: the terminal session on a text terminal
// or on plain streams.
#pragma once

#include <cstdio>

namespace velloq_ui {

// Runs a terminal session on the streams until end of input or EXIT;
// the exit status.  When `in` is a terminal a banner and prompts are shown;
// otherwise only the interpreter's own output is written.
int run_tty(FILE* in, FILE* out);

}  // namespace velloq_ui
