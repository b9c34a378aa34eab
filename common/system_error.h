// The reason of a failed system call, as the user reads it.
#pragma once

#include <string>

namespace fileio {

// Returns, as Windows-1251 text, why a file operation failed with `err`
// (an errno value): a Russian text for the causes a user can mend (no
// space, no permission, read-only file system, missing file or folder, input/output
// error), the system's own text for any other.
std::string systemReason(int err);

}  // namespace fileio
