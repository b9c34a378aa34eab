#include "engine.h"

namespace norvix {

// The search goes on after the inserted name, so a name that itself holds
// "%f" is inserted once and the replacement always ends.
std::string FormatMessage(std::string_view text, std::string_view frameName) {
  std::string out;
  size_t i = 0;
  while (true) {
    size_t at = text.find("%f", i);
    if (at == std::string_view::npos) break;
    out.append(text.substr(i, at - i));
    out.append(frameName);
    i = at + 2;
  }
  out.append(text.substr(i));
  return out;
}

}  // namespace norvix
