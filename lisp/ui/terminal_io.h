// The real terminal under the line editor: POSIX file descriptors, raw
// mode while a line is edited.
#pragma once

#include <termios.h>

#include <csignal>

#include "line_editor.h"

namespace velloq_ui {

class PosixTerminal : public EditorTerminal {
 public:
  PosixTerminal(int in_fd, int out_fd) : in_(in_fd), out_(out_fd) {}
  // A flag the SIGINT handler sets.  A Ctrl-C typed just before raw mode
  // was on arrives as that signal, possibly on another thread and after
  // the read began: while the flag is set, read() clears it and gives the
  // Ctrl-C key instead of waiting for input.
  void set_interrupt_flag(volatile sig_atomic_t* flag) { interrupt_ = flag; }
  size_t read(char* buffer, size_t size) override;
  bool input_pending() override;
  void write(std::string_view bytes) override;
  int columns() override;

 private:
  int in_, out_;
  volatile sig_atomic_t* interrupt_ = nullptr;
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
