// Characters of the terminal's encoding (the locale's codeset; UTF-8 in
// the C locale) as they arrive byte by byte.
#pragma once

#include <string>

#include "byte_input.h"

namespace projbase {

// Tells whether the terminal's encoding is UTF-8.
bool terminalIsUtf8();

// Reads the bytes of one character into `bytes`.  A malformed or cut-off
// sequence yields the bytes that belong to it so far (a stray byte alone);
// the next read goes on after them.  Returns
// false, with `bytes` empty, at the end of input.
bool readTerminalChar(ByteInput& in, bool utf8, std::string& bytes);

// Converts one character of the terminal's encoding to its Windows-1251
// byte; a character Windows-1251 has not becomes '?'.
unsigned char toCp1251Char(const std::string& bytes);

}  // namespace projbase
