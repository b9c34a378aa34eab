// One pass over the text pairs every counting parenthesis; the text of one
// input field is short, so the pass is repeated at each cursor move.
#include "paren_match.h"

#include <vector>

namespace velloq_windows {

namespace {

// Steps over what the reader takes as one unit that holds no list syntax;
// returns the position after it.
size_t skip_unit(const std::string& text, size_t i) {
  const size_t n = text.size();
  switch (text[i]) {
    case '"':
    case '|': {
      const char close = text[i];
      for (i++; i < n && text[i] != close; i++)
        if (text[i] == '\\') i++;
      return i + 1;
    }
    case ';':
      while (i < n && text[i] != '\n') i++;
      return i;
    case '\\':
      return i + 2;
    case '#':
      if (i + 1 < n && text[i + 1] == '\\') return i + 3;
      if (i + 1 < n && text[i + 1] == '|') {
        size_t end = text.find("|#", i + 2);
        return end == std::string::npos ? n : end + 2;
      }
      return i + 1;
    default:
      return i + 1;
  }
}

}  // namespace

long matching_paren(const std::string& text, size_t pos) {
  std::vector<size_t> open;
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '(') {
      open.push_back(i);
    } else if (c == ')') {
      if (!open.empty()) {
        const size_t partner = open.back();
        open.pop_back();
        if (i == pos) return (long)partner;
        if (partner == pos) return (long)i;
      }
    } else {
      i = skip_unit(text, i);
      continue;
    }
    i++;
  }
  return -1;
}

}  // namespace velloq_windows
