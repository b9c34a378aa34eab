// Atomic replacement of a file and small whole-file helpers.
#pragma once

#include <string>
#include <string_view>

namespace fileio {

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to
// the disk and renames it over `path`.  Either the new contents are in place
// or the previous file is untouched.  The temporary file has no name (so a
// process killed meanwhile leaves nothing behind) until it is complete, just
// before the rename, where the file system allows that; elsewhere it is a
// named file ".~NAME.XXXXXX" from the start.  On failure returns false and,
// when `error` is given, sets it to the cause (systemReason, Windows-1251).
// A new file gets mode 0644 minus the umask; an existing file keeps its mode.
bool replaceFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// Reads the whole file into `bytes`.  Returns false (with `error` set as
// above) when it cannot be opened or read; anything but a regular file is
// refused without waiting on it (see openRegular).
bool readFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

}  // namespace fileio
