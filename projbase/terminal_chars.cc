#include "terminal_chars.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cwchar>

#include "cp1251.h"

namespace projbase {
namespace {

// Length of the UTF-8 sequence a lead byte starts; 1 for a stray byte.
int utf8Length(int lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

void readUtf8Tail(ByteInput& in, int length, std::string& bytes) {
  while (static_cast<int>(bytes.size()) < length) {
    int b = in.next();
    if (b < 0) return;
    if ((b & 0xC0) != 0x80) {
      in.unget();
      return;
    }
    bytes += static_cast<char>(b);
  }
}

// Any other multi-byte encoding: the C library says when a character ends.
void readLocaleTail(ByteInput& in, std::string& bytes) {
  std::mbstate_t state{};
  std::size_t r = std::mbrlen(bytes.data(), 1, &state);
  while (r == static_cast<std::size_t>(-2) && bytes.size() < MB_LEN_MAX) {
    int b = in.next();
    if (b < 0) return;
    char c = static_cast<char>(b);
    bytes += c;
    r = std::mbrlen(&c, 1, &state);
  }
}

}  // namespace

bool terminalIsUtf8() {
  std::string name;
  for (char c : cp1251::localeCodeset())
    if (c != '-' && c != '_') name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name == "UTF8";
}

bool readTerminalChar(ByteInput& in, bool utf8, std::string& bytes) {
  bytes.clear();
  int b = in.next();
  if (b < 0) return false;
  bytes += static_cast<char>(b);
  if (b < 0x80) return true;
  if (utf8)
    readUtf8Tail(in, utf8Length(b), bytes);
  else
    readLocaleTail(in, bytes);
  return true;
}

unsigned char toCp1251Char(const std::string& bytes) {
  std::string converted = cp1251::fromLocale(bytes);
  return converted.size() == 1 ? static_cast<unsigned char>(converted[0]) : '?';
}

}  // namespace projbase
