// The POSIX terminal of the line editor.
#include "terminal_io.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace velloq_ui {

size_t PosixTerminal::read(char* buffer, size_t size) {
  for (;;) {
    if (interrupt_ && *interrupt_ && size > 0) {
      *interrupt_ = 0;
      buffer[0] = '\x03';
      return 1;
    }
    if (interrupt_) {
      // Wait in short steps so that a late signal is seen.
      struct pollfd p = {in_, POLLIN, 0};
      int ready = ::poll(&p, 1, 50);
      if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
    }
    ssize_t n = ::read(in_, buffer, size);
    if (n >= 0) return (size_t)n;
    if (errno != EINTR && errno != EAGAIN) return 0;  // an error ends the input
  }
}

bool PosixTerminal::input_pending() {
  struct pollfd p = {in_, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

void PosixTerminal::write(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(out_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes.remove_prefix((size_t)n);
  }
}

int PosixTerminal::columns() {
  struct winsize w;
  if (::ioctl(out_, TIOCGWINSZ, &w) == 0 && w.ws_col > 0) return w.ws_col;
  return 80;
}

RawMode::RawMode(int fd) : fd_(fd) {
  if (!::isatty(fd) || ::tcgetattr(fd, &saved_) != 0) return;
  struct termios raw = saved_;
  raw.c_iflag &= ~(tcflag_t)(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
  raw.c_oflag &= ~(tcflag_t)OPOST;
  raw.c_cflag |= CS8;
  raw.c_lflag &= ~(tcflag_t)(ECHO | ICANON | IEXTEN | ISIG);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  active_ = ::tcsetattr(fd, TCSANOW, &raw) == 0;
}

RawMode::~RawMode() {
  if (active_) ::tcsetattr(fd_, TCSANOW, &saved_);
}

}  // namespace velloq_ui
