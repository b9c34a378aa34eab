// The fact file on disk: read (or created empty) at start, replaced as a
// whole by key 0.
#pragma once

#include <string>

#include "fact_set.h"

namespace projbase {

// Reads the records of the fact file at `path` into `facts`, or creates the
// file empty when it does not exist.  When the file cannot be read as
// records (or read, or created), returns false with `message` set to a
// Windows-1251 text naming the file, the faulty line and the cause; the
// file is never changed then.
bool openFactFile(const std::string& path, FactSet& facts, std::string& message);

// Replaces the fact file with the records of `facts` atomically: either
// the whole new file is in place or the old one is untouched.  Returns false
// with `error` set to the cause.
bool saveFactFile(const std::string& path, const FactSet& facts, std::string& error);

}  // namespace projbase
