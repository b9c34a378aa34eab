// The terminal session of `velloq --tty`: lines from a stream join an input
// buffer until the parentheses balance, then the buffer is evaluated.
#pragma once

#include <cstdio>
#include <string>

namespace velloq_ui {

// Whether the text's parentheses balance outside strings, comments,
// escapes and character literals (more closing than opening counts too).
bool parens_balanced(const std::string& text);
// Runs the session until end of input or EXIT; the exit status.
int run_tty_session(FILE* in, FILE* out);

}  // namespace velloq_ui
