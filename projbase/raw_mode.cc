#include "raw_mode.h"

#include <unistd.h>

#include <csignal>

namespace projbase {
namespace {

// What the signal handler needs; only one terminal is ever switched.
int gFd = -1;
termios gSaved{};

constexpr int kSignals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};

// Restores the terminal, then lets the signal end the program as it would
// have without us.  Only async-signal-safe calls here.
void restoreAndRaise(int sig) {
  if (gFd >= 0) ::tcsetattr(gFd, TCSANOW, &gSaved);
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

}  // namespace

RawMode::RawMode(int fd) {
  if (!::isatty(fd) || ::tcgetattr(fd, &gSaved) != 0) return;
  termios raw = gSaved;
  // ISIG stays on so that Ctrl-C still breaks off the run; suspending is
  // switched off, as a stopped program would leave the terminal raw.
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  raw.c_cc[VSUSP] = _POSIX_VDISABLE;
  gFd = fd;
  for (int sig : kSignals) std::signal(sig, restoreAndRaise);
  active_ = ::tcsetattr(fd, TCSANOW, &raw) == 0;
}

RawMode::~RawMode() {
  if (!active_) return;
  ::tcsetattr(gFd, TCSANOW, &gSaved);
  for (int sig : kSignals) std::signal(sig, SIG_DFL);
  gFd = -1;
}

}  // namespace projbase
