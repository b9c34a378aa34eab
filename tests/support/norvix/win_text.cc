#include "win_text.h"

#include "cp1251.h"

namespace norvix::test {

std::string W(std::string_view utf8) { return cp1251::fromUtf8(utf8); }

std::vector<std::string> WLines(std::initializer_list<const char*> utf8) {
  std::vector<std::string> out;
  for (const char* s : utf8) out.push_back(W(s));
  return out;
}

}  // namespace norvix::test
