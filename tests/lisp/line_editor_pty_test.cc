// The line editor on a real pseudo-terminal: raw mode while a line is
// edited, the terminal restored after, Ctrl-C as a key, no canonical-mode
// line limit.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cp1251.h"
#include "line_editor.h"
#include "terminal_io.h"

namespace {

// No step takes this long unless the editor hangs.
constexpr int kHangGuardMs = 15000;

class GrowingHistory : public velloq_ui::EditorHistory {
 public:
  void add(const std::string& line) {
    entries_.push_back(line);
    cursor_ = entries_.size();
  }
  std::string older() override {
    if (cursor_ > 0) cursor_--;
    return cursor_ < entries_.size() ? entries_[cursor_] : "";
  }
  std::string newer() override {
    if (cursor_ < entries_.size()) cursor_++;
    return cursor_ < entries_.size() ? entries_[cursor_] : "";
  }
  size_t entry_count() const override { return entries_.size(); }
  std::string entry(size_t i) const override { return entries_[i]; }

 private:
  std::vector<std::string> entries_;
  size_t cursor_ = 0;
};

void say(const std::string& s) { (void)::write(1, s.data(), s.size()); }

// The child: edits lines on its terminal and reports each one.
[[noreturn]] void edit_lines() {
  velloq_ui::PosixTerminal term(0, 1);
  velloq_ui::LineEditor editor(term, true);
  GrowingHistory history;
  for (;;) {
    std::string line;
    velloq_ui::EditResult r;
    {
      velloq_ui::RawMode raw(0);
      if (!raw.active()) say("[NO RAW MODE]\n");
      r = editor.read_line("> ", &history, &line);
    }
    struct termios t;
    ::tcgetattr(0, &t);
    std::string mode = (t.c_lflag & ICANON) && (t.c_lflag & ISIG) ? "cooked" : "raw";
    if (r == velloq_ui::EditResult::EndOfInput) {
      say("[END " + mode + "]\n");
      ::_exit(0);
    }
    if (r == velloq_ui::EditResult::Interrupted) {
      say("[INTERRUPTED " + mode + "]\n");
      continue;
    }
    std::string text = line.size() <= 100 ? cp1251::toUtf8(line) : "long";
    say("[LINE " + std::to_string(line.size()) + " " + mode + " " + text + "]\n");
    history.add(line);
  }
}

class PtyEditor {
 public:
  PtyEditor() {
    struct winsize w = {};
    w.ws_col = 80;
    w.ws_row = 24;
    std::fflush(nullptr);
    pid_ = ::forkpty(&master_, nullptr, nullptr, &w);
    if (pid_ == 0) edit_lines();
    if (master_ >= 0) ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~PtyEditor() {
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

TEST(LineEditorPtyTest, EditsInRawModeAndRestoresTheTerminal) {
  PtyEditor pty;
  ASSERT_TRUE(pty.started());
  ASSERT_TRUE(pty.expect("> "));
  ASSERT_TRUE(pty.send("abc\x1b[DX\r"));
  EXPECT_TRUE(pty.expect("[LINE 4 cooked abXc]")) << pty.output();
  ASSERT_TRUE(pty.send("\x1b[A!\r"));
  EXPECT_TRUE(pty.expect("[LINE 5 cooked abXc!]")) << pty.output();
  ASSERT_TRUE(pty.send("(car\x03"));
  EXPECT_TRUE(pty.expect("^C")) << pty.output();
  EXPECT_TRUE(pty.expect("[INTERRUPTED cooked]")) << "Ctrl-C is a key while editing";
  ASSERT_TRUE(pty.send(std::string(5000, 'x') + "\r"));
  EXPECT_TRUE(pty.expect("[LINE 5000 cooked long]")) << "no 4095-byte canonical limit";
  ASSERT_TRUE(pty.send("\xD1\x8F\xD1\x8F\x1b[D\xD0\xB6\r"));
  EXPECT_TRUE(pty.expect("[LINE 3 cooked \xD1\x8F\xD0\xB6\xD1\x8F]")) << pty.output();
  ASSERT_TRUE(pty.send("a\x04"));
  ASSERT_TRUE(pty.send("\x15\x04"));
  EXPECT_TRUE(pty.expect("[END cooked]")) << "Ctrl-D ends input on an empty line only";
  EXPECT_EQ(pty.finish(), 0);
}

}  // namespace
