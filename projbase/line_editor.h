// Reading keys and lines from a terminal in non-canonical mode: the editor
// shows what is typed itself, so that Backspace can remove whole characters
// of the terminal's encoding and Esc can abandon the line.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "byte_input.h"
#include "console.h"

namespace projbase {

class LineEditor {
 public:
  // `echo` receives what is shown, already in the terminal's encoding.
  using Echo = std::function<void(std::string_view)>;

  LineEditor(ByteInput& in, bool utf8, Echo echo)
      : in_(in), utf8_(utf8), echo_(std::move(echo)) {}

  // Reads a line into `line` (Windows-1251), showing each character typed.
  // Enter ends it and moves to a new line; Esc abandons it (a line break is
  // shown so that what follows starts on a fresh line); Backspace removes
  // the last character; other control characters and the escape sequences
  // of cursor and function keys are ignored.
  Input readLine(std::string& line);

  // Reads one key without showing it.
  Input readKey(int& key);

 private:
  enum class Event { Char, Esc, Sequence, End };

  Event nextEvent(unsigned char& c);
  void skipSequence();

  ByteInput& in_;
  bool utf8_;
  Echo echo_;
  std::string bytes_;
};

}  // namespace projbase
