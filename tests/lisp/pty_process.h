// A child process on a pseudo-terminal, driven as a user at a keyboard
// would: type bytes, wait for text to show, collect the exit status.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

// No step takes this long unless the child hangs.
constexpr int kHangGuardMs = 15000;

class PtyProcess {
 public:
  // Runs `child` in a new process on the slave side of a fresh 80x24
  // pseudo-terminal; `child` must not return.
  explicit PtyProcess(void (*child)()) {
    struct winsize w = {};
    w.ws_col = 80;
    w.ws_row = 24;
    std::fflush(nullptr);
    pid_ = ::forkpty(&master_, nullptr, nullptr, &w);
    if (pid_ == 0) {
      child();
      ::_exit(127);
    }
    if (master_ >= 0) ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~PtyProcess() {
    if (pid_ > 0 && status_ < 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) ::close(master_);
  }
  bool started() const { return pid_ > 0 && master_ >= 0; }

  // Types `bytes`, reading the output meanwhile so neither side blocks.
  bool send(std::string bytes) {
    while (!bytes.empty()) {
      struct pollfd p = {master_, POLLIN | POLLOUT, 0};
      if (::poll(&p, 1, kHangGuardMs) <= 0) return false;
      if (p.revents & POLLIN) drain();
      if (p.revents & POLLOUT) {
        ssize_t n = ::write(master_, bytes.data(), bytes.size());
        if (n > 0) bytes.erase(0, (size_t)n);
      }
      if (p.revents & (POLLERR | POLLHUP)) return false;
    }
    return true;
  }
  // Waits until `text` shows after the last match.
  bool expect(const std::string& text) {
    for (;;) {
      size_t at = output_.find(text, matched_);
      if (at != std::string::npos) {
        matched_ = at + text.size();
        return true;
      }
      struct pollfd p = {master_, POLLIN, 0};
      if (::poll(&p, 1, kHangGuardMs) <= 0 || !drain()) return false;
    }
  }
  int finish() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return status_;
  }
  const std::string& output() const { return output_; }

 private:
  bool drain() {
    char buf[4096];
    ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) return false;
    output_.append(buf, (size_t)n);
    return true;
  }
  int master_ = -1;
  pid_t pid_ = -1;
  int status_ = -1;
  std::string output_;
  size_t matched_ = 0;
};
