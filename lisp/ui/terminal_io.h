// The real terminal under the line editor: POSIX file descriptors, raw
// mode while a line is edited.
#pragma once

#include <termios.h>

#include "line_editor.h"

namespace velloq_ui {

class PosixTerminal : public EditorTerminal {
 public:
  PosixTerminal(int in_fd, int out_fd) : in_(in_fd), out_(out_fd) {}
  size_t read(char* buffer, size_t size) override;
  bool input_pending() override;
  void write(std::string_view bytes) override;
  int columns() override;

 private:
  int in_, out_;
};

// Puts the terminal on `fd` into raw mode (no echo, no line buffering, no
// signals from Ctrl-C, no output translation) until destroyed.  Input typed
// before is kept.  Does nothing when `fd` is not a terminal.
class RawMode {
 public:
  explicit RawMode(int fd);
  ~RawMode();
  RawMode(const RawMode&) = delete;
  RawMode& operator=(const RawMode&) = delete;
  bool active() const { return active_; }

 private:
  int fd_;
  bool active_ = false;
  struct termios saved_;
};

}  // namespace velloq_ui
