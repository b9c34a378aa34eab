// The terminal mode for reading keys: no line buffering, no echo by the
// terminal.  The previous mode comes back when the object goes, and also
// when a signal (Ctrl-C, hang-up, kill) ends the program.
#pragma once

#include <termios.h>

namespace projbase {

class RawMode {
 public:
  // Switches the terminal of `fd` into the key-reading mode.  Does nothing
  // when `fd` is not a terminal.
  explicit RawMode(int fd);
  ~RawMode();

  RawMode(const RawMode&) = delete;
  RawMode& operator=(const RawMode&) = delete;

 private:
  bool active_ = false;
};

}  // namespace projbase
