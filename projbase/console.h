// The four console operations the program needs.  Text crosses this
// interface as Windows-1251; an implementation converts to and from the
// terminal's encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace projbase {

// How a read ended.
enum class Input {
  Ok,         // a line (or key) was read
  Abandoned,  // Esc abandoned the line
  End,        // standard input ended: the program stops without saving
};

// The longest line kept, in Windows-1251 bytes; characters typed beyond it
// are dropped so that no input can exhaust memory.
inline constexpr std::size_t kMaxLineLength = 65536;

class Console {
 public:
  virtual ~Console() = default;

  // Writes text; no line break is added.
  virtual void write(std::string_view text) = 0;
  // Writes a line break.
  virtual void newLine() = 0;
  // Reads one line; Enter ends it, Esc abandons it.
  virtual Input readLine(std::string& line) = 0;
  // Reads one key without showing it.  `key` is its Windows-1251 byte, or
  // -1 for a key that has none (an arrow, a function key).
  virtual Input readKey(int& key) = 0;
};

}  // namespace projbase
