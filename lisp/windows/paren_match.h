// Which parenthesis matches which in a text being typed, read as the
// reader reads it: parentheses inside strings, comments, |names|, escapes
// and character literals (#\x) do not count.  No Qt: the input field of the
// terminal asks it at every cursor move.
#pragma once

#include <string>

namespace velloq_windows {

// The position of the parenthesis that matches the one at `pos`, or -1
// when `pos` holds no counting parenthesis or it has no partner.
long matching_paren(const std::string& text, size_t pos);

}  // namespace velloq_windows
