// Windows-1251, the one text encoding inside every program of the suite.
//
// Text lives as Windows-1251 bytes in std::string; these functions convert
// at the edges only (terminals, Qt widgets) and fold letter case the way the
// programs compare names.
#pragma once

#include <string>
#include <string_view>

namespace cp1251 {

// Converts Windows-1251 bytes to UTF-8.  The one unassigned byte (0x98)
// becomes U+FFFD so that nothing is dropped silently.
std::string toUtf8(std::string_view text);

// Converts UTF-8 to Windows-1251.  A character Windows-1251 cannot hold, and
// a malformed UTF-8 sequence, become `replacement`.  When `lossy` is given it
// is set to whether any replacement happened.
std::string fromUtf8(std::string_view text, char replacement = '?', bool* lossy = nullptr);

// Returns the Unicode code point of a Windows-1251 byte (U+FFFD for 0x98).
char32_t toUnicode(unsigned char byte);

// Returns the Windows-1251 byte of a code point, or -1 when there is none.
int fromUnicode(char32_t codePoint);

// The terminal's encoding is the codeset of the LC_CTYPE locale; in the C or
// POSIX locale UTF-8 is assumed.  The program calls setlocale(LC_CTYPE, "")
// before the first conversion.
std::string localeCodeset();

// Converts Windows-1251 to the terminal's encoding and back.  Unconvertible
// characters become '?'.
std::string toLocale(std::string_view text);
std::string fromLocale(std::string_view text);

// Upper and lower case of one byte: Latin a-z/A-Z and the Cyrillic letter
// ranges 224-255 / 192-223.  Every other byte is returned unchanged.
unsigned char toUpper(unsigned char c);
unsigned char toLower(unsigned char c);
std::string toUpper(std::string_view text);
std::string toLower(std::string_view text);

// Compares two texts ignoring the letter case defined above.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace cp1251
