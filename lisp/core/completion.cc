// Completion walks every bucket of the object array; the array holds a few
// thousand symbols, so a walk per Tab key costs nothing the user notices.
#include "completion.h"

#include <algorithm>
#include <cstring>

#include "cp1251.h"
#include "state.h"
#include "symbols.h"

namespace velloq {

std::vector<std::string> symbol_completions(const std::string& prefix, size_t limit) {
  std::vector<std::string> names;
  if (!obarray_symbol) return names;
  Node* table = symbol_value(obarray_symbol);
  if (!vectorlike(table)) return names;
  const std::string wanted = cp1251::toUpper(prefix);
  for (int b = 0; b < OBARRAY_SIZE; b++) {
    for (Node* l = slot(table, b); consp(l); l = cdr(l)) {
      Node* sym = car(l);
      if (!symbolp(sym)) continue;
      const char* name = symbol_name(sym);
      if (std::strncmp(name, wanted.c_str(), wanted.size()) == 0) names.emplace_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  if (names.size() > limit) names.resize(limit);
  return names;
}

}  // namespace velloq
