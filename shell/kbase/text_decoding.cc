#include "text_decoding.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "cp1251.h"

namespace norvix::textform {

namespace {

// The Windows-1251 byte of each code point below U+0800, -1 for none.
const std::array<int16_t, 0x800>& LowCodePoints() {
  static const std::array<int16_t, 0x800> table = [] {
    std::array<int16_t, 0x800> t{};
    for (char32_t c = 0; c < 0x800; ++c) t[c] = static_cast<int16_t>(cp1251::fromUnicode(c));
    return t;
  }();
  return table;
}

int HexDigit(char h) {
  return h >= '0' && h <= '9' ? h - '0' : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                        : h >= 'a' && h <= 'f' ? h - 'a' + 10 : -1;
}

}  // namespace

// ASCII and the two-byte forms (Cyrillic among them) take the short paths;
// the general one checks the length, the continuation bytes and overlong
// forms.
DecodeResult DecodeUtf8(std::string_view utf8, char* out, size_t& size) {
  const auto& low = LowCodePoints();
  const size_t end = utf8.size();
  size_t n = 0;
  DecodeResult result = DecodeResult::Ok;
  for (size_t i = 0; i < end;) {
    auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out[n++] = static_cast<char>(b);
      ++i;
      continue;
    }
    if (b >= 0xC2 && b < 0xE0 && i + 1 < end) {
      auto cont = static_cast<unsigned char>(utf8[i + 1]);
      int byte = (cont & 0xC0) == 0x80 ? low[((b & 0x1Fu) << 6) | (cont & 0x3Fu)] : -1;
      if (byte >= 0) {
        out[n++] = static_cast<char>(byte);
        i += 2;
        continue;
      }
    }
    int length = b >= 0xF0 && b < 0xF5 ? 4 : b >= 0xE0 && b < 0xF0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
    if (length == 0 || i + static_cast<size_t>(length) > end) {
      result = DecodeResult::Malformed;
      break;
    }
    char32_t c = b & (0x7F >> length);
    bool formed = true;
    for (int k = 1; k < length && formed; ++k) {
      auto cont = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
      formed = (cont & 0xC0) == 0x80;
      c = (c << 6) | (cont & 0x3F);
    }
    if (!formed || (length == 3 && c < 0x800) || (length == 4 && c < 0x10000)) {
      result = DecodeResult::Malformed;
      break;
    }
    i += static_cast<size_t>(length);
    int byte = c < 0x800 ? low[c] : cp1251::fromUnicode(c);
    if (byte < 0) {
      result = DecodeResult::NotInCp1251;
      break;
    }
    out[n++] = static_cast<char>(byte);
  }
  size = n;
  return result;
}

// Writing never overtakes reading: every escape is longer than its byte.
size_t UnescapeInPlace(char* text, size_t size) {
  const char* first = static_cast<const char*>(std::memchr(text, '\\', size));
  if (!first) return size;
  size_t n = static_cast<size_t>(first - text);
  for (size_t i = n; i < size; ++i) {
    char c = text[i];
    if (c != '\\') {
      text[n++] = c;
      continue;
    }
    char e = i + 1 < size ? text[i + 1] : '\0';
    if (e == '\\' || e == 'n' || e == 'r' || e == 't') {
      text[n++] = e == '\\' ? '\\' : e == 'n' ? '\n' : e == 'r' ? '\r' : '\t';
      ++i;
    } else if (e == 'x' && i + 3 < size && HexDigit(text[i + 2]) >= 0 &&
               HexDigit(text[i + 3]) >= 0) {
      text[n++] = static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
      i += 3;
    } else {
      return std::string_view::npos;
    }
  }
  return n;
}

}  // namespace norvix::textform
