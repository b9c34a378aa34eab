// Parenthesis matching over the whole text, in one pass: a parenthesis
// means something only outside strings, comments and #\ literals.
#include "paren_match.h"

#include <vector>

namespace velloq_browser {

int matchingParen(const QString& text, int pos) {
  if (pos < 0 || pos >= text.size()) return -1;
  std::vector<int> open;
  bool inString = false, inComment = false, inBars = false;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (inComment) {
      if (c == u'\n') inComment = false;
      continue;
    }
    if (inString) {
      if (c == u'\\') ++i;
      else if (c == u'"') inString = false;
      continue;
    }
    if (inBars) {
      if (c == u'\\') ++i;
      else if (c == u'|') inBars = false;
      continue;
    }
    if (c == u'#' && i + 1 < text.size() && text[i + 1] == u'\\') {
      i += 2;  // the character after #\ is data
      continue;
    }
    if (c == u'\\') {
      ++i;  // an escaped character of a symbol name
      continue;
    }
    if (c == u'"') inString = true;
    else if (c == u'|') inBars = true;
    else if (c == u';') inComment = true;
    else if (c == u'(') open.push_back(i);
    else if (c == u')' && !open.empty()) {
      const int o = open.back();
      open.pop_back();
      if (o == pos) return i;
      if (i == pos) return o;
    }
  }
  return -1;
}

}  // namespace velloq_browser
