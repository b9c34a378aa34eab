#include "blanks.h"

namespace norvix {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

// A pending run of blanks is written as one blank only when another
// character follows it, which drops a trailing run.
std::string NormalizeBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool pendingBlank = false;
  for (char c : text) {
    if (isBlank(c)) {
      pendingBlank = true;
      continue;
    }
    if (pendingBlank) out += ' ';
    pendingBlank = false;
    out += c;
  }
  return out;
}

}  // namespace norvix
