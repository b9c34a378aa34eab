// The front end of `velloq --tty`: the terminal session on standard input
// and output.
#pragma once

namespace velloq_ui {

// Runs a terminal session on file descriptors 0 and 1 until end of input,
// EXIT or a fatal error; the exit status (0, or 1 after a fatal error or
// when the interpreter could not start).  When standard input is a
// terminal a banner, prompts and the line editor are used; otherwise only
// the interpreter's own output is written.
int run_tty();

}  // namespace velloq_ui
