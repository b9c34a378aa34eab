// Windows-1251 text written as UTF-8 in the source and converted by the
// compiler.  The programs keep their texts in Windows-1251; this lets each
// text be written once, readably:
//
//   inline constexpr const char* kYesTag = "[Д]"_cp1251.c_str();
//   std::string line = "Ошибка: "_cp1251 + message;  (via view())
//
// A character Windows-1251 cannot hold, or malformed UTF-8, stops the
// compilation.
#pragma once

#include <cstddef>
#include <string_view>

#include "cp1251_table.h"

namespace cp1251 {

// Converted text with its terminating NUL, in storage of `N` bytes (the
// UTF-8 source never has fewer bytes than its Windows-1251 form).
template <std::size_t N>
struct Literal {
  char bytes[N] = {};
  std::size_t size = 0;

  constexpr const char* c_str() const { return bytes; }
  constexpr std::string_view view() const { return {bytes, size}; }
  constexpr operator std::string_view() const { return view(); }
};

namespace literal_detail {

// Decodes the UTF-8 sequence at text[i] and advances i past it.  Not a
// constant expression (so a compile error) when the sequence is malformed.
constexpr char32_t nextCodePoint(const char* text, std::size_t end, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  const int len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : 0;
  if (len == 0 || i + len > end) throw "malformed UTF-8 in a Windows-1251 literal";
  char32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : (b0 & 0x0F);
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) throw "malformed UTF-8 in a Windows-1251 literal";
    cp = (cp << 6) | (b & 0x3F);
  }
  i += len;
  return cp;
}

// A string literal as a template argument.
template <std::size_t N>
struct Utf8Text {
  char text[N] = {};
  consteval Utf8Text(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
  }
};

}  // namespace literal_detail

// The Windows-1251 form of the UTF-8 string literal `utf8`.
template <std::size_t N>
consteval Literal<N> literal(const char (&utf8)[N]) {
  Literal<N> out;
  for (std::size_t i = 0; i + 1 < N;) {
    const int byte = table::byteOf(literal_detail::nextCodePoint(utf8, N - 1, i));
    if (byte < 0) throw "a character Windows-1251 cannot hold";
    out.bytes[out.size++] = static_cast<char>(byte);
  }
  return out;
}

namespace literal_detail {
template <Utf8Text S>
inline constexpr auto kConverted = literal(S.text);
}  // namespace literal_detail

inline namespace literals {

// "текст"_cp1251: the converted text as a constant with static storage, so
// that c_str() may initialise a `constexpr const char*`.
template <literal_detail::Utf8Text S>
consteval const auto& operator""_cp1251() {
  return literal_detail::kConverted<S>;
}

}  // namespace literals
}  // namespace cp1251
