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
      // What the reader takes as something else than a parenthesis.
      {"#\\)\n", true},
      {"(#\\(\n", false},
      {"(#\\\"\n)\n", true},
      {"(a\\)\n", false},
      {"(|a\\|(|)\n", true},
      {"#|(|#\n", true},
      {"(#| ) |#\n", false},
      {"#| #| |# ( |#\n", true},
      {"#| #| |# |#(\n", false},
      {"#||#(\n", false},
      {"#|#|\n", false},
      {"; \"\n(\n", false},
      {"\"; (\"\n", true},
      {"(a#|b|)\n", true},
      {"'#|(|#\n", true},
      {",@#|(|#\n", true},
      {"#(1 2\n", false},
      {"#(1 2)\n", true},
      {"#'(lambda (x) x)\n", true},
      {"#\"(\n", false},
      {"(\"a\\\\\")\n", true},
  };
  for (auto& c : cases)
    EXPECT_EQ(velloq_ui::parens_balanced(c.text), c.balanced) << "text: " << c.text;
}

// The scan keeps its state between lines: feeding a text a line at a time
// ends where scanning it whole does, at every line.
TEST(DepthScanTest, LineByLineEqualsWhole) {
  const char* texts[] = {
      "(list \"a\n(b\" #|\n(|#\n x)\n",
      "(a |b\n)| ; (\n c)\n",
      "#\\\n(\n)\n",
      "(foo\n  \"bar\\\n\" ,@baz)\n",
  };
  for (const char* t : texts) {
    std::string text(t);
    velloq_ui::DepthScan scan;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start) + 1;
      scan.feed(text.data() + start, end - start);
      EXPECT_EQ(scan.complete(), velloq_ui::parens_balanced(text.substr(0, end)))
          << "text: " << text.substr(0, end);
      start = end;
    }
  }
}

// 8 MB of an unclosed string, 64 bytes a line: each line is scanned once
// (scanning the whole buffer again at every line would take hours), and
// the string's end completes the expression.
TEST(InputBufferTest, LongOpenStringsScanOnce) {
  velloq_ui::InputBuffer buffer;
  EXPECT_EQ(buffer.add_line("(setq s \"start"), velloq_ui::InputBuffer::kIncomplete);
  std::string line(64, '(');
  for (int i = 0; i < (8 << 20) / 64; i++)
    ASSERT_EQ(buffer.add_line(line), velloq_ui::InputBuffer::kIncomplete);
  EXPECT_EQ(buffer.add_line("end\")"), velloq_ui::InputBuffer::kComplete);
  EXPECT_GT(buffer.take().size(), (size_t)8 << 20);
  EXPECT_EQ(buffer.add_line("(+ 1 2)"), velloq_ui::InputBuffer::kComplete);
}

// An expression longer than the buffer keeps is refused, the buffer is
// emptied, and the rest of that expression is dropped as it comes.
TEST(InputBufferTest, TooLongExpressionsAreRefusedToTheirEnd) {
  velloq_ui::InputBuffer buffer;
  std::string line(1 << 20, 'x');
  EXPECT_EQ(buffer.add_line("(list"), velloq_ui::InputBuffer::kIncomplete);
  velloq_ui::InputBuffer::Result r = velloq_ui::InputBuffer::kIncomplete;
  int lines = 0;
  while (r == velloq_ui::InputBuffer::kIncomplete && lines++ < 20) r = buffer.add_line(line);
  EXPECT_EQ(r, velloq_ui::InputBuffer::kRefused);
  EXPECT_EQ(lines, 16);
  EXPECT_TRUE(buffer.text().empty());
  EXPECT_EQ(buffer.add_line(line + " (still the same list)"), velloq_ui::InputBuffer::kIncomplete);
  EXPECT_TRUE(buffer.text().empty());
  EXPECT_EQ(buffer.add_line(")"), velloq_ui::InputBuffer::kIncomplete);
  EXPECT_EQ(buffer.add_line("(+ 1 2)"), velloq_ui::InputBuffer::kComplete);
  EXPECT_EQ(buffer.take(), "(+ 1 2)\n");
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

TEST_F(TerminalSessionTest, ATooLongExpressionIsRefusedInTheErrorColour) {
  session.enter_line("(list \"" + std::string(velloq_ui::kMaxExpressionBytes, 'x'));
  EXPECT_EQ(frontend.shown_in_error_colour, velloq_ui::TerminalSession::kExpressionTooLong);
  EXPECT_EQ(session.input().text(), "");
  session.enter_line("still inside the refused string\")");
  session.enter_line("(+ 1 2)");
  EXPECT_EQ(frontend.busy_runs, 1);
  EXPECT_EQ(frontend.shown, std::string(velloq_ui::TerminalSession::kExpressionTooLong) + "3\n");
}

TEST_F(TerminalSessionTest, ExitAsksToEndTheSession) {
  session.enter_line("(exit)");
  EXPECT_TRUE(session.exit_requested());
}

}  // namespace
