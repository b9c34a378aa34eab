// Symbol names for completing what the user types: the windows ask, the
// object array answers.
#pragma once

#include <string>
#include <vector>

namespace velloq {

// The names of the interned symbols that begin with `prefix` (compared
// after upper-casing it, Cyrillic letters included), sorted, at most
// `limit` of them.  Empty before the interpreter has started.  Reads node
// memory only: never allocates, never raises.
std::vector<std::string> symbol_completions(const std::string& prefix, size_t limit = 200);

}  // namespace velloq
