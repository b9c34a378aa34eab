// `velloq --tty` on a pseudo-terminal, typed at as a user would: banner and
// prompts, the continuation prompt's depth, line editing and history keys,
// Ctrl-C at the prompt and during an evaluation, Ctrl-D, long lines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "pty_process.h"

namespace fs = std::filesystem;

namespace {

std::string scratch_dir;

[[noreturn]] void run_velloq() {
  if (::chdir(scratch_dir.c_str()) != 0) ::_exit(126);
  ::setenv("LC_ALL", "C.UTF-8", 1);
  ::execl(VELLOQ_BIN, VELLOQ_BIN, "--tty", static_cast<char*>(nullptr));
  ::_exit(127);
}

class VelloqPtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/velloq_pty_XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    scratch_dir = tmpl;
    std::ofstream(scratch_dir + "/velloq.ini") << "LOAD_DB_AT_STARTUP FALSE\nSAVE_DB_ON_EXIT FALSE\n";
    pty = std::make_unique<PtyProcess>(run_velloq);
    ASSERT_TRUE(pty->started());
    ASSERT_TRUE(pty->expect("Velloq Lisp environment, version 1.0")) << pty->output();
    ASSERT_TRUE(pty->expect("> ")) << pty->output();
  }
  void TearDown() override {
    pty.reset();
    fs::remove_all(scratch_dir);
  }
  // Waits until the line editor has drawn its prompt (every drawing ends
  // the line with an erase), then types `keys` and waits for `shown`.
  // Keys typed before the editor reads are the terminal driver's: a Ctrl-D
  // there is its end of file, not the editor's key.
  void type(const std::string& keys, const std::string& shown) {
    ASSERT_TRUE(pty->expect("\x1b[0K")) << "the editor never read\n" << pty->output();
    type_while_running(keys, shown);
  }
  // Types `keys` while a program runs and waits for `shown`.
  void type_while_running(const std::string& keys, const std::string& shown) {
    ASSERT_TRUE(pty->send(keys));
    std::string tail = pty->output().substr(pty->output().size() > 600 ? pty->output().size() - 600 : 0);
    ASSERT_TRUE(pty->expect(shown)) << "after typing " << keys.substr(0, 60) << "\n" << tail;
  }
  void ends_with_status(int status) {
    EXPECT_EQ(pty->finish(), status);
    EXPECT_EQ(pty->output().find("illegal character"), std::string::npos) << pty->output();
  }
  std::unique_ptr<PtyProcess> pty;
};

TEST_F(VelloqPtyTest, ContinuationPromptShowsTheOpenDepthAndCtrlCAbandonsIt) {
  type("(list 1\r", "..1> ");
  type("(+ 2\r", "..2> ");
  type("3))\r", "(1 5)\r\n");
  type("(list (quote\r", "..2> ");
  type("\x03", "^C\r\n");
  type("(+ 1 1)\r", "2\r\n");
  type("\x04", "\r\n");
  ends_with_status(0);
}

TEST_F(VelloqPtyTest, EditingKeysAndHistoryWork) {
  type("(list 1 3)\x1b[D\x1b[D" "2 \r", "(1 2 3)\r\n");        // Left, insert
  type("+ 5 5)\x01(\r", "10\r\n");                             // Ctrl-A
  type("\x1b[H(\x1b[F+ 6 6)\r", "12\r\n");                     // Home, End
  type("junk\x15(+ 4 4)\r", "8\r\n");                          // Ctrl-U
  type("(+ 1 1) more junk\x17\x17\r", "2\r\n");                // Ctrl-W
  type("(+ 2 2)xyz\x1b[D\x1b[D\x1b[D\x0b\r", "4\r\n");         // Ctrl-K
  type("(+ 3 3)x\x1b[D\x1b[3~\r", "6\r\n");                   // Delete
  type("(+ 7 7))\x7f\x08)\r", "14\r\n");                       // Backspace
  type("\x1b[A\x1b[A\r", "6\r\n");                             // Up twice: (+ 3 3)
  type("\x1b[A\x1b[A\x1b[A\x1b[B\r", "14\r\n");               // Up x3, Down: (+ 7 7)
  type("\x12(+ 5\r", "10\r\n");                                // Ctrl-R search
  type("(+ 1 2\x04)\r", "3\r\n");                              // Ctrl-D on text: nothing
  type("(print '\xD0\xBC\xD0\xB8\xD1\x80)\r", "\xD0\x9C\xD0\x98\xD0\xA0\r\n");  // Cyrillic
  type("\x04", "\r\n");
  ends_with_status(0);
}

TEST_F(VelloqPtyTest, CtrlCWhileEvaluatingIsTheUserBreak) {
  type("(progn (print 'looping) (loop))\r", "LOOPING");
  type_while_running("\x03", "*User-Break*");
  type("(progn (getstring \"Reply? \") (print 'not-reached))\r", "\r\nReply? ");
  type("half\x03", "*User-Break*");
  type("(+ 1 2)\r", "3\r\n");
  type("(loop (exit))\r", "\r\n");
  ends_with_status(0);
  EXPECT_EQ(pty->output().find("NOT-REACHED"), std::string::npos);
}

TEST_F(VelloqPtyTest, ALineLongerThanTheTerminalDriversLimitIsReadWhole) {
  type("(length \"" + std::string(9990, 'x') + "\")\r", "9990\r\n");
  type("(length (getstring))\r", "\r\n");
  type(std::string(12000, 'y') + "\r", "12000\r\n");
  type("\x04", "\r\n");
  ends_with_status(0);
}

}  // namespace
