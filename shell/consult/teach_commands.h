// The console commands for teachers: checking a knowledge base, and its
// text form (norvix --check, --export, --import).
#pragma once

#include <ostream>
#include <string>

namespace norvix {

// norvix --check FILE: the checker's findings on `out`, one a line, then
// their number.  Returns 0 when there are none, 1 when findings were
// printed, 2 when the file cannot be loaded (the reason on `err`).
int RunCheckCommand(const std::string& file, std::ostream& out, std::ostream& err);

// norvix --export FILE: the text form of FILE on `out` (UTF-8 whatever the
// terminal's encoding).  Returns 0, or 2 when the file cannot be loaded.
int RunExportCommand(const std::string& file, std::ostream& out, std::ostream& err);

// norvix --import TEXT OUT: reads the text form and replaces OUT atomically
// with the knowledge base file.  On an error in the text ("строка N: ..."),
// or when OUT cannot be written, reports on `err`, leaves OUT as it was and
// returns 2; otherwise returns 0.
int RunImportCommand(const std::string& textFile, const std::string& outFile, std::ostream& err);

}  // namespace norvix
