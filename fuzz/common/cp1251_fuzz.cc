// The Windows-1251 codec on arbitrary bytes, taken both as Windows-1251 and
// as UTF-8.  Every Windows-1251 byte but the unassigned one survives a round
// trip through UTF-8; whatever UTF-8 is given, the conversion gives one byte
// per character and reports exactly when it replaced one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cp1251.h"

namespace {

// Whether `text` is well-formed UTF-8 (shortest forms, no surrogates).
bool validUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<unsigned char>(text[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > text.size()) return false;
    char32_t c = n == 1 ? b : b & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
      auto t = static_cast<unsigned char>(text[i + k]);
      if ((t >> 6) != 2) return false;
      c = (c << 6) | (t & 0x3F);
    }
    static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += n;
  }
  return true;
}

void roundTrip(std::string_view win) {
  std::string utf8 = cp1251::toUtf8(win);
  if (!validUtf8(utf8)) std::abort();
  bool lossy = false;
  std::string back = cp1251::fromUtf8(utf8, '?', &lossy);
  bool unassigned = win.find('\x98') != std::string_view::npos;
  if (lossy != unassigned || back.size() != win.size()) std::abort();
  for (size_t i = 0; i < win.size(); ++i)
    if (back[i] != (win[i] == '\x98' ? '?' : win[i])) std::abort();
  for (unsigned char c : win) {
    if (cp1251::fromUnicode(cp1251::toUnicode(c)) != (c == 0x98 ? -1 : c)) std::abort();
    if (cp1251::toLower(cp1251::toUpper(c)) != cp1251::toLower(c)) std::abort();
  }
  if (!cp1251::equalsIgnoreCase(cp1251::toUpper(win), cp1251::toLower(win))) std::abort();
}

void fromAnyUtf8(std::string_view bytes) {
  bool lossy = false;
  std::string win = cp1251::fromUtf8(bytes, '?', &lossy);
  if (win.size() > bytes.size()) std::abort();
  // Valid UTF-8 that came from Windows-1251 text converts back unchanged.
  if (!lossy && cp1251::toUtf8(win) != bytes) std::abort();
  // The terminal's side in the C locale is UTF-8 as well.
  if (cp1251::fromLocale(bytes) != cp1251::fromUtf8(bytes)) std::abort();
  if (cp1251::toLocale(win) != cp1251::toUtf8(win)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  roundTrip(bytes);
  fromAnyUtf8(bytes);
  return 0;
}
