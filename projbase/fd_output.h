// Writing to a file descriptor (the terminal or a pipe).
#pragma once

#include <string_view>

namespace projbase {

// Writes all of `bytes` to `fd`, retrying after interrupts and short
// writes.  A failed write is dropped: output has nowhere else to go.
void writeOut(int fd, std::string_view bytes);

}  // namespace projbase
