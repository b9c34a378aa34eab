// The terminal session driven by a scripted front end, in a scratch
// folder of its own: input buffer, output lines, replies, the busy and
// awaiting-input states, settings, log and history wiring.
#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "completion.h"
#include "databases.h"
#include "input_buffer.h"
#include "terminal_session.h"

namespace fs = std::filesystem;

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

std::string read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Records what the session shows; answers reads from a queue and breaks
// when told to.
class ScriptedFrontend : public velloq_ui::TerminalFrontend {
 public:
  velloq_ui::TerminalSession* session = nullptr;
  std::string shown;
  std::string shown_in_error_colour;
  std::vector<std::string> error_boxes;
  std::vector<std::string> problems;
  std::vector<std::string> prompts;   // the output line each read was typed after
  std::deque<std::string> replies;
  int busy_runs = 0;
  bool busy_seen_while_reading = false;
  bool awaiting_seen_while_reading = false;
  bool break_on_next_read = false;

  void show_text(std::string_view text, bool error_colour) override {
    shown += text;
    if (error_colour) shown_in_error_colour += text;
  }
  velloq_ui::LineRead read_line(std::string_view prompt, std::string* line) override {
    prompts.emplace_back(prompt);
    busy_seen_while_reading = session->busy();
    awaiting_seen_while_reading = session->awaiting_input();
    if (break_on_next_read) return velloq_ui::LineRead::Interrupted;
    if (replies.empty()) return velloq_ui::LineRead::EndOfInput;
    *line = replies.front();
    replies.pop_front();
    return velloq_ui::LineRead::Line;
  }
  bool ask_box(const std::string& question, std::string* answer) override {
    prompts.push_back(question);
    if (replies.empty()) return false;
    *answer = replies.front();
    replies.pop_front();
    return true;
  }
  void show_error_message(const std::string& line) override { error_boxes.push_back(line); }
  void report_problem(const std::string& text) override { problems.push_back(text); }
  void begin_busy() override { busy_runs++; }
};

class TerminalSessionTest : public ::testing::Test {
 protected:
  fs::path old_dir = fs::current_path();
  fs::path dir;
  ScriptedFrontend frontend;
  std::unique_ptr<velloq_ui::TerminalSession> session;

  void SetUp() override {
    char tmpl[] = "/tmp/velloq_session_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    fs::current_path(dir);
  }
  void TearDown() override {
    session.reset();
    fs::current_path(old_dir);
    fs::remove_all(dir);
  }
  void start(const std::string& ini = "LOAD_DB_AT_STARTUP FALSE\nSAVE_DB_ON_EXIT FALSE\n") {
    std::ofstream(dir / "velloq.ini") << ini;
    session = std::make_unique<velloq_ui::TerminalSession>(frontend);
    frontend.session = session.get();
    ASSERT_TRUE(session->start());
    frontend.shown.clear();
    frontend.busy_runs = 0;
  }
};

TEST_F(TerminalSessionTest, LinesRunOnceTheirParenthesesBalance) {
  start();
  session->enter_line("(list 1");
  EXPECT_EQ(frontend.busy_runs, 0);
  EXPECT_EQ(session->open_depth(), 1);
  session->enter_line("2)");
  EXPECT_EQ(frontend.busy_runs, 1);
  EXPECT_EQ(frontend.shown, "(1 2)\n");
  EXPECT_EQ(session->input().text(), "");
  EXPECT_FALSE(session->busy());
}

TEST_F(TerminalSessionTest, OpenDepthCountsWhatIsStillOpen) {
  start();
  struct Case { const char* line; int depth; } cases[] = {
      {"(a (b (c", 3}, {"  \"(\" d)", 2}, {"\"open", -1}, {"string\"))", 0}};
  for (auto& c : cases) {
    session->enter_line(c.line);
    EXPECT_EQ(session->open_depth(), c.depth) << c.line;
  }
}

TEST_F(TerminalSessionTest, AbandonedInputIsForgotten) {
  start();
  session->enter_line("(list 1");
  session->abandon_input();
  EXPECT_EQ(session->input().text(), "");
  session->enter_line("(+ 2 3)");
  EXPECT_EQ(frontend.shown, "5\n");
}

TEST_F(TerminalSessionTest, EndOfInputRunsAnUnfinishedBufferAndEnds) {
  start();
  session->enter_line("(list 1");
  session->end_input();
  EXPECT_EQ(frontend.busy_runs, 1);
  EXPECT_EQ(frontend.shown, "error: unexpected EOF\n");
  EXPECT_TRUE(session->should_end());
}

TEST_F(TerminalSessionTest, AReplyIsTypedAfterThePromptAndCompletesItsLine) {
  start("USELOG TRUE\nLOGFILE t.log\nLOAD_DB_AT_STARTUP FALSE\nSAVE_DB_ON_EXIT FALSE\n");
  frontend.replies = {"Ann"};
  session->enter_line("(getstring \"Name? \")");
  EXPECT_EQ(frontend.prompts, std::vector<std::string>{"Name? "});
  EXPECT_TRUE(frontend.busy_seen_while_reading);
  EXPECT_TRUE(frontend.awaiting_seen_while_reading);
  EXPECT_FALSE(session->awaiting_input());
  EXPECT_EQ(frontend.shown, "Name? \"Ann\"\n");
  const auto& lines = session->log()->lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], "(getstring \"Name? \")");
  EXPECT_EQ(lines[lines.size() - 2], "Name? Ann");
  EXPECT_EQ(lines[lines.size() - 1], "\"Ann\"");
}

TEST_F(TerminalSessionTest, GetintAsksAgainInTheErrorColourUntilAnInteger) {
  start();
  frontend.replies = {"abc", "4.5", " 42 "};
  session->enter_line("(getint \"Age? \")");
  EXPECT_EQ(frontend.shown,
            "Age? Requires an integer value.\nAge? Requires an integer value.\nAge? 42\n");
  EXPECT_EQ(frontend.shown_in_error_colour,
            "Requires an integer value.\nRequires an integer value.\n");
  EXPECT_EQ(frontend.error_boxes,
            (std::vector<std::string>{"Requires an integer value.", "Requires an integer value."}));
}

TEST_F(TerminalSessionTest, ATooLongExpressionIsRefusedInTheErrorColour) {
  start();
  session->enter_line("(list \"" + std::string(velloq_ui::kMaxExpressionBytes, 'x'));
  EXPECT_EQ(frontend.shown_in_error_colour, velloq_ui::TerminalSession::kExpressionTooLong);
  EXPECT_EQ(session->input().text(), "");
  session->enter_line("still inside the refused string\")");
  session->enter_line("(+ 1 2)");
  EXPECT_EQ(frontend.busy_runs, 1);
  EXPECT_EQ(frontend.shown, std::string(velloq_ui::TerminalSession::kExpressionTooLong) + "3\n");
}

TEST_F(TerminalSessionTest, OutputWithoutLineEndsIsStoredInPieces) {
  start();
  session->enter_line("(dotimes (i 1100) (princ \"" + std::string(1000, 'a') + "\"))");
  EXPECT_EQ(frontend.shown.size(), 1100000u + 4u);
  const auto& lines = session->log()->lines();
  size_t piece = lines[lines.size() - 2].size();
  EXPECT_GE(piece, 1u << 20) << "a piece is cut once the line reaches 1 MiB";
  EXPECT_LE(piece, (1u << 20) + 1000u);
  EXPECT_EQ(lines.back(), std::string(1100000 - piece, 'a') + "NIL");
}

TEST_F(TerminalSessionTest, ErrorLinesGoToMessageBoxesOnlyWhenAllowed) {
  start("ALLOW_ERROR_MESSAGES FALSE\nLOAD_DB_AT_STARTUP FALSE\nSAVE_DB_ON_EXIT FALSE\n");
  session->enter_line("(car 'x)");
  EXPECT_EQ(frontend.shown_in_error_colour, "error: bad argument type - X\n");
  EXPECT_TRUE(frontend.error_boxes.empty());
  session->settings().allow_error_messages = true;
  session->enter_line("(car 'y)");
  EXPECT_EQ(frontend.error_boxes, std::vector<std::string>{"error: bad argument type - Y"});
}

TEST_F(TerminalSessionTest, EndOfInputWhileAProgramWaitsGivesNilAndEnds) {
  start();
  session->enter_line("(list (getnum) (askbox \"Sure?\"))");
  EXPECT_EQ(frontend.shown, "(NIL NIL)\n");
  EXPECT_TRUE(session->should_end());
}

TEST_F(TerminalSessionTest, AskboxAnswersWithTheDialogsText) {
  start();
  frontend.replies = {"yes, sure"};
  session->enter_line("(askbox \"Sure?\")");
  EXPECT_EQ(frontend.prompts, std::vector<std::string>{"Sure?"});
  EXPECT_EQ(frontend.shown, "\"yes, sure\"\n");
}

TEST_F(TerminalSessionTest, TheBreakKeyWhileAProgramWaitsEndsIt) {
  start();
  frontend.break_on_next_read = true;
  session->enter_line("(progn (getstring) (print 'not-reached))");
  EXPECT_EQ(frontend.shown, "*User-Break*\n");
  EXPECT_FALSE(session->should_end());
}

TEST_F(TerminalSessionTest, BreakRequestEndsTheEvaluationInTheErrorColour) {
  start();
  session->request_break();  // cleared by begin-busy: a new run starts clean
  session->enter_line("(+ 1 2)");
  EXPECT_EQ(frontend.shown, "3\n");
}

TEST_F(TerminalSessionTest, ExitEndsTheRunningProgramAndTheSession) {
  start();
  session->enter_line("(progn (princ \"bye\") (loop (exit)))");
  EXPECT_TRUE(session->exit_requested());
  EXPECT_TRUE(session->should_end());
  EXPECT_EQ(frontend.shown, "bye");
  EXPECT_EQ(session->pending_line(), "") << "the line is completed at the end of the run";
  EXPECT_EQ(session->log()->lines().back(), "bye");
}

TEST_F(TerminalSessionTest, TheTopLevelReadsTheTerminalWhateverStandardInputHolds) {
  start();
  session->enter_line("(setq *standard-input* nil)");
  session->enter_line("(+ 1 2)");
  EXPECT_EQ(frontend.shown, "NIL\n3\n");
}

TEST_F(TerminalSessionTest, EnteredLinesGoIntoTheHistory) {
  start("MAX_STORED_INPUT 4\nLOAD_DB_AT_STARTUP FALSE\nSAVE_DB_ON_EXIT FALSE\n");
  for (const char* l : {"(+ 1 1)", "(+ 1 1)", "", "(+ 2 2)  ", "(+ 3 3)"}) session->enter_line(l);
  EXPECT_EQ(session->history().entries(),
            (std::vector<std::string>{"", "(+ 2 2)", "(+ 3 3)", ""}));
}

TEST_F(TerminalSessionTest, SettingsAreReadClampedAndWrittenBackAtStop) {
  start("MAX_STORED_LINES 50\nMAX_STORED_INPUT 500\nUSELOG FALSE\n"
        "LOAD_DB_AT_STARTUP FALSE\nSAVE_DB_ON_EXIT FALSE\n");
  EXPECT_EQ(session->settings().max_stored_lines, 100);
  EXPECT_EQ(session->settings().max_stored_input, 100);
  session->stop();
  EXPECT_EQ(read_file(dir / "velloq.ini"),
            "USELOG      FALSE\n"
            "LOGFILE     VELLOQ.LOG\n"
            "MAX_STORED_LINES    100\n"
            "MAX_STORED_INPUT    100\n"
            "SAVE_DB_ON_EXIT     FALSE\n"
            "LOAD_DB_AT_STARTUP  FALSE\n"
            "STARTUP_DB  databases.dat\n"
            "ALLOW_ERROR_MESSAGES        TRUE\n");
  EXPECT_FALSE(fs::exists(dir / "VELLOQ.LOG"));
}

TEST_F(TerminalSessionTest, TheLogHoldsTheTrafficBetweenLogOnAndLogOff) {
  start("LOGFILE s.log\nLOAD_DB_AT_STARTUP FALSE\nSAVE_DB_ON_EXIT FALSE\n");
  session->enter_line("(+ 1 2)");
  session->stop();
  std::string log = read_file(dir / "s.log");
  EXPECT_EQ(log.rfind("[Log on.  Date: ", 0), 0u) << log;
  EXPECT_NE(log.find("]\n(+ 1 2)\n3\n[Log off. Date: "), std::string::npos) << log;
}

TEST_F(TerminalSessionTest, DatabasesAreRestoredAndSavedWhenTheSettingsAsk) {
  std::ofstream(dir / "init.lsp") << "(defun restore () (princ \"restoring\") 'r)\n"
                                     "(defun save () (princ \"saving\") 's)\n";
  start("LOAD_DB_AT_STARTUP TRUE\nSAVE_DB_ON_EXIT TRUE\n");
  session->restore_if_asked();
  session->save_if_asked();
  EXPECT_EQ(frontend.shown, "restoringR\nsavingS\n");
}

TEST_F(TerminalSessionTest, NothingIsRestoredOrSavedWhenTheSettingsSayNo) {
  std::ofstream(dir / "init.lsp") << "(defun restore () 'r)\n(defun save () 's)\n";
  start();
  session->restore_if_asked();
  session->save_if_asked();
  EXPECT_EQ(frontend.shown, "");
}

}  // namespace

// The preferences' OK: the log, the history and the database list file
// follow the new settings at once.
TEST_F(TerminalSessionTest, AppliedSettingsTakeEffectAtOnce) {
  start();
  velloq_ui::Settings s = session->settings();
  s.use_log = false;
  s.max_stored_input = 3;
  s.startup_db = "project.vqr";
  session->apply_settings(s);
  EXPECT_FALSE(session->log()->enabled());
  for (const char* line : {"1", "2", "3", "4"}) session->enter_line(line);
  EXPECT_EQ(session->history().entries().size(), 3u);
  session->run_text("(save)\n");
  EXPECT_TRUE(fs::exists(dir / "project.vqr"));
  EXPECT_FALSE(fs::exists(dir / "databases.dat"));
}

// STARTUP_DB read from the settings file names the list SAVE writes.
TEST_F(TerminalSessionTest, SaveWritesTheListFileTheSettingsName) {
  start("LOAD_DB_AT_STARTUP FALSE\nSAVE_DB_ON_EXIT FALSE\nSTARTUP_DB  mine.dat\n");
  session->run_text("(save)\n");
  EXPECT_TRUE(fs::exists(dir / "mine.dat"));
}

TEST_F(TerminalSessionTest, CompletionOffersTheInternedNamesWithThePrefix) {
  start();
  session->run_text("(setq zebra-one 1)\n");
  session->run_text("(setq zebra-two 2)\n");
  struct Case { const char* prefix; std::vector<std::string> names; } cases[] = {
      {"zebra-", {"ZEBRA-ONE", "ZEBRA-TWO"}},
      {"ZEBRA-T", {"ZEBRA-TWO"}},
      {"defu", {"DEFUN"}},
      {"no-such-name-here", {}},
  };
  for (auto& c : cases) EXPECT_EQ(velloq::symbol_completions(c.prefix), c.names) << c.prefix;
  EXPECT_EQ(velloq::symbol_completions("ZEBRA-", 1).size(), 1u);
}

namespace {

TEST_F(TerminalSessionTest, AFailedSaveIsKnownUntilTheNextSave) {
  start("LOAD_DB_AT_STARTUP FALSE\nSAVE_DB_ON_EXIT FALSE\nSTARTUP_DB  no/such/dir/list.dat\n");
  session->run_text("(save)\n");
  EXPECT_TRUE(velloq::database_save_failed());
  velloq_ui::Settings s = session->settings();
  s.startup_db = "list.dat";
  session->apply_settings(s);
  session->run_text("(save)\n");
  EXPECT_FALSE(velloq::database_save_failed());
}

}  // namespace
