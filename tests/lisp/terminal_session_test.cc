// The terminal session: its input buffer rule, and a session driven by a
// scripted front end.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "input_buffer.h"
#include "terminal_session.h"

namespace {

TEST(ParensBalancedTest, CountsOnlyParenthesesOutsideStringsCommentsAndEscapes) {
  struct Case { const char* text; bool balanced; } cases[] = {
      {"", true},
      {"(+ 1 2)\n", true},
      {"(+ 1\n", false},
      {"(+ 1\n 2)\n", true},
      {"abc\n", true},
      {")\n", true},
      {"\"(\"\n", true},
      {"\"(\n", false},
      {"(list \"a)\"\n", false},
      {"; (\n", true},
      {"(a ; )\n", false},
      {"(a ; )\n)\n", true},
      {"#\\(\n", true},
      {"(list #\\))\n", true},
      {"|(|\n", true},
      {"(a |)| \n", false},
      {"\\(\n", true},
      {"\"a\\\"(\"\n", true},
  };
  for (auto& c : cases)
    EXPECT_EQ(velloq_ui::parens_balanced(c.text), c.balanced) << "text: " << c.text;
}

// Records what the session shows; answers reads from a queue and breaks
// when told to.
class ScriptedFrontend : public velloq_ui::TerminalFrontend {
 public:
  std::string shown;
  std::string shown_in_error_colour;
  std::deque<std::string> replies;
  int busy_runs = 0;
  bool break_pending = false;

  void show_text(std::string_view text, bool error_colour) override {
    shown += text;
    if (error_colour) shown_in_error_colour += text;
  }
  bool read_line(std::string* line) override {
    if (replies.empty()) return false;
    *line = replies.front();
    replies.pop_front();
    return true;
  }
  bool take_break_request() override {
    bool pending = break_pending;
    break_pending = false;
    return pending;
  }
  void begin_busy() override { busy_runs++; }
};

class TerminalSessionTest : public ::testing::Test {
 protected:
  ScriptedFrontend frontend;
  velloq_ui::TerminalSession session{frontend};

  void SetUp() override { ASSERT_TRUE(session.start()); }
  void TearDown() override { session.stop(); }
};

TEST_F(TerminalSessionTest, LinesRunOnceTheirParenthesesBalance) {
  session.enter_line("(list 1");
  EXPECT_EQ(frontend.busy_runs, 0);
  EXPECT_EQ(session.input().text(), "(list 1\n");
  session.enter_line("2)");
  EXPECT_EQ(frontend.busy_runs, 1);
  EXPECT_EQ(frontend.shown, "(1 2)\n");
  EXPECT_EQ(session.input().text(), "");
}

TEST_F(TerminalSessionTest, EndOfInputRunsAnUnfinishedBuffer) {
  session.end_input();
  EXPECT_EQ(frontend.busy_runs, 0);
  session.enter_line("(list 1");
  session.end_input();
  EXPECT_EQ(frontend.busy_runs, 1);
  EXPECT_EQ(frontend.shown, "error: unexpected EOF\n");
}

TEST_F(TerminalSessionTest, AReadingProgramGetsTheFrontEndsNextLine) {
  frontend.replies = {"typed reply"};
  session.enter_line("(read-line)");
  EXPECT_EQ(frontend.shown, "\"typed reply\"\n");
}

TEST_F(TerminalSessionTest, TheBreakKeyEndsTheEvaluationInTheErrorColour) {
  frontend.break_pending = true;
  session.enter_line("(loop)");
  EXPECT_EQ(frontend.shown_in_error_colour, "*User-Break*\n");
  EXPECT_FALSE(session.exit_requested());
}

TEST_F(TerminalSessionTest, ExitAsksToEndTheSession) {
  session.enter_line("(exit)");
  EXPECT_TRUE(session.exit_requested());
}

}  // namespace
