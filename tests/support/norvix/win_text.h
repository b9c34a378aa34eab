// Windows-1251 text from the UTF-8 of the test sources.  Constant texts can
// use "..."_cp1251 (cp1251_literal.h); W() also takes text made at run time.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace norvix::test {

// The Windows-1251 bytes of UTF-8 text.
std::string W(std::string_view utf8);

// UTF-8 lines to Windows-1251 lines.
std::vector<std::string> WLines(std::initializer_list<const char*> utf8);

}  // namespace norvix::test
