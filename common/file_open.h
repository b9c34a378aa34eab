// Opening a file for reading without ever blocking on it.
#pragma once

#include <cstdio>
#include <string>

namespace fileio {

// Opens `path` read-only and returns its descriptor (close-on-exec), or -1.
// The open itself cannot block: a named pipe or a device is opened without
// waiting and then refused, as is a folder or anything else that is not a
// regular file (errno EISDIR for a folder, EINVAL otherwise).  On failure
// `error`, when given, receives the reason as Windows-1251 text
// (openFailureReason).
int openRegular(const std::string& path, std::string* error = nullptr);

// As openRegular, as a stdio stream opened with `mode` ("r" or "rb").
// nullptr on failure.
std::FILE* fopenRegular(const std::string& path, const char* mode, std::string* error = nullptr);

// The reason of a failed openRegular with `err`: "не обычный файл" for a
// file that is not a regular one, systemReason otherwise.
std::string openFailureReason(int err);

}  // namespace fileio
