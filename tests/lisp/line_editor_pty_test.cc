// The line editor on a real pseudo-terminal: raw mode while a line is
// edited, the terminal restored after, Ctrl-C as a key, no canonical-mode
// line limit.
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cp1251.h"
#include "line_editor.h"
#include "pty_process.h"
#include "terminal_io.h"

namespace {

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

// A pseudo-terminal whose child edits lines.
class PtyEditor : public PtyProcess {
 public:
  PtyEditor() : PtyProcess(edit_lines) {}
};

TEST(LineEditorPtyTest, EditsInRawModeAndRestoresTheTerminal) {
  PtyEditor pty;
  ASSERT_TRUE(pty.started());
  // Each line is typed once the editor has drawn its prompt: keys typed
  // before that meet the terminal driver in cooked mode, as they would a
  // user typing ahead of a prompt.
  ASSERT_TRUE(pty.expect("> "));
  ASSERT_TRUE(pty.send("abc\x1b[DX\r"));
  EXPECT_TRUE(pty.expect("[LINE 4 cooked abXc]")) << pty.output();
  ASSERT_TRUE(pty.expect("> "));
  ASSERT_TRUE(pty.send("\x1b[A!\r"));
  EXPECT_TRUE(pty.expect("[LINE 5 cooked abXc!]")) << pty.output();
  ASSERT_TRUE(pty.expect("> "));
  ASSERT_TRUE(pty.send("(car\x03"));
  EXPECT_TRUE(pty.expect("^C")) << pty.output();
  EXPECT_TRUE(pty.expect("[INTERRUPTED cooked]")) << "Ctrl-C is a key while editing";
  ASSERT_TRUE(pty.expect("> "));
  ASSERT_TRUE(pty.send(std::string(5000, 'x') + "\r"));
  EXPECT_TRUE(pty.expect("[LINE 5000 cooked long]")) << "no 4095-byte canonical limit";
  ASSERT_TRUE(pty.expect("> "));
  ASSERT_TRUE(pty.send("\xD1\x8F\xD1\x8F\x1b[D\xD0\xB6\r"));
  EXPECT_TRUE(pty.expect("[LINE 3 cooked \xD1\x8F\xD0\xB6\xD1\x8F]")) << pty.output();
  ASSERT_TRUE(pty.expect("> "));
  ASSERT_TRUE(pty.send("a\x04"));
  ASSERT_TRUE(pty.send("\x15\x04"));
  EXPECT_TRUE(pty.expect("[END cooked]")) << "Ctrl-D ends input on an empty line only";
  EXPECT_EQ(pty.finish(), 0);
}

}  // namespace
