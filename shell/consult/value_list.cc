#include "blanks.h"
#include "engine.h"

namespace norvix {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

// Items end at ";" but the first character of an item is always taken, even
// a ";", so "a;;b" gives "a" and ";b".  An empty item ends the list.
std::vector<std::string> SplitValueList(std::string_view text) {
  std::vector<std::string> items;
  size_t i = 0;
  while (true) {
    while (i < text.size() && isBlank(text[i])) ++i;
    size_t start = i;
    if (i < text.size()) ++i;
    while (i < text.size() && text[i] != ';') ++i;
    std::string item = NormalizeBlanks(text.substr(start, i - start));
    if (i < text.size()) ++i;  // the ";" that ended the item
    if (item.empty()) break;
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace norvix
