#include "cp1251.h"
#include "cp1251_table.h"

#include <iconv.h>
#include <langinfo.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace cp1251 {
namespace {

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; advances i.  Returns -1 for a
// malformed sequence (i then advances by one byte).
long decodeUtf8(std::string_view text, size_t& i) {
  auto b0 = static_cast<unsigned char>(text[i]);
  int len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + len > text.size()) {
    ++i;
    return -1;
  }
  long cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (int k = 1; k < len; ++k) {
    auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return -1;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  // An overlong form would smuggle a byte past checks made on the UTF-8
  // text (C0 80 for NUL, C0 AF for '/'); surrogates are no characters.
  static const long kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kLeast[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return -1;
  }
  i += len;
  return cp;
}

bool isUtf8Codeset(const std::string& codeset) {
  return codeset == "UTF-8" || codeset == "utf8" || codeset == "UTF8";
}

// Converts with iconv between the locale's codeset and UTF-8 for codesets
// other than UTF-8 (KOI8-R, CP1251, ISO-8859-5 ...).
std::string iconvConvert(std::string_view text, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::string out;
  std::string in(text);
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      out += '?';  // unconvertible or malformed: skip one byte
      ++inPtr;
      --inLeft;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

char32_t toUnicode(unsigned char byte) { return table::codePointOf(byte); }

int fromUnicode(char32_t cp) { return table::byteOf(cp); }

std::string toUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) appendUtf8(out, toUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string fromUtf8(std::string_view text, char replacement, bool* lossy) {
  std::string out;
  out.reserve(text.size());
  bool replaced = false;
  for (size_t i = 0; i < text.size();) {
    long cp = decodeUtf8(text, i);
    int byte = cp < 0 ? -1 : fromUnicode(static_cast<char32_t>(cp));
    if (byte < 0) {
      out += replacement;
      replaced = true;
    } else {
      out += static_cast<char>(byte);
    }
  }
  if (lossy) *lossy = replaced;
  return out;
}

std::string localeCodeset() {
  std::string codeset = nl_langinfo(CODESET);
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII" ||
      codeset == "US-ASCII")
    return "UTF-8";
  return codeset;
}

// Every codeset a terminal may use here (UTF-8, KOI8-R, CP1251,
// ISO-8859-5 ...) keeps ASCII as it is, so plain text needs no lookup of the
// codeset: programs write much of their output a character at a time.
static bool isAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

std::string toLocale(std::string_view text) {
  if (isAscii(text)) return std::string(text);
  std::string codeset = localeCodeset();
  if (isUtf8Codeset(codeset)) return toUtf8(text);
  return iconvConvert(toUtf8(text), codeset.c_str(), "UTF-8");
}

std::string fromLocale(std::string_view text) {
  if (isAscii(text)) return std::string(text);
  std::string codeset = localeCodeset();
  if (isUtf8Codeset(codeset)) return fromUtf8(text);
  return fromUtf8(iconvConvert(text, "UTF-8", codeset.c_str()));
}

unsigned char toUpper(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || c >= 224) return static_cast<unsigned char>(c - 32);
  return c;
}

unsigned char toLower(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 192 && c <= 223)) return static_cast<unsigned char>(c + 32);
  return c;
}

std::string toUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(toUpper(static_cast<unsigned char>(c)));
  return out;
}

std::string toLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(toLower(static_cast<unsigned char>(c)));
  return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (toUpper(static_cast<unsigned char>(a[i])) != toUpper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace cp1251
