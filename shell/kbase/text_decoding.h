// The characters of the text form's values: UTF-8 turned into
// Windows-1251, and the backslash escapes turned into the bytes they stand
// for.  Both work on buffers the caller owns, so that a value can be decoded
// straight into the place it ends up in.
#pragma once

#include <cstddef>
#include <string_view>

namespace norvix::textform {

enum class DecodeResult {
  Ok,
  Malformed,    // not UTF-8: a stray or missing continuation byte, an overlong form
  NotInCp1251,  // a character Windows-1251 has no byte for
};

// Decodes `utf8` into `out`, which must have room for utf8.size() bytes
// (the Windows-1251 form is never longer), and sets `size` to the bytes
// written.  Stops at the first character that cannot be decoded.
DecodeResult DecodeUtf8(std::string_view utf8, char* out, size_t& size);

// Replaces the escapes \\, \n, \r, \t and \xHH among the `size` bytes at
// `text` by the bytes they stand for and returns the new size, or
// std::string_view::npos at the first backslash that starts no escape (the
// bytes are then partly rewritten).
size_t UnescapeInPlace(char* text, size_t size);

}  // namespace norvix::textform
