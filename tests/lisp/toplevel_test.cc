// The evaluate-text entry: output, the value-printed flag, and the state
// after errors, with the console captured into a string.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "captured_console.h"
#include "databases.h"
#include "streams.h"
#include "symbols.h"
#include "toplevel.h"
#include "workspace_image.h"

using namespace velloq;

namespace {

using lisptest::captured;

class TopLevelTest : public lisptest::CapturedConsoleTest {
 protected:
  // Runs one submitted text; returns the flag.
  int submit(const std::string& text) { return evaluate(text); }
};

TEST_F(TopLevelTest, EachSubmissionPrintsItsFirstValueOnly) {
  struct Case { const char* text; const char* output; int flag; } cases[] = {
      {"(+ 1 2) (+ 3 4)\n", "3\n", 1},
      {"\n", "", 0},
      {"; only a comment\n", "", 0},
      {"'sym\n", "SYM\n", 1},
      {"\"text\"\n", "\"text\"\n", 1},
      {"(car 5)\n", "error: bad argument type - 5\n", 0},
      {"(errset (car 5) nil)\n", "NIL\n", 1},
      {"(undefined-function-here)\n", "error: undefined function - UNDEFINED-FUNCTION-HERE\n", 0},
      {")\n", "error: misplaced right paren\n", 0},
  };
  for (auto& c : cases) {
    captured.clear();
    EXPECT_EQ(submit(c.text), c.flag) << "text: " << c.text;
    EXPECT_EQ(captured, c.output) << "text: " << c.text;
  }
}

TEST_F(TopLevelTest, AnErrorResetsTheHooks) {
  submit("(defun hook (f e) (evalhook f nil nil e))\n");
  submit("(setq *evalhook* 'hook)\n");
  EXPECT_NE(symbol_value(s_evalhook), nullptr);
  submit("(car 'x)\n");
  EXPECT_EQ(symbol_value(s_evalhook), nullptr);
}

TEST_F(TopLevelTest, TheHistoryKeepsThreeExpressionsAndValues) {
  submit("(+ 1 1)\n");
  submit("(+ 2 2)\n");
  submit("(+ 3 3)\n");
  captured.clear();
  submit("(list * ** ***)\n");
  EXPECT_EQ(captured, "(6 4 2)\n");
}

TEST_F(TopLevelTest, AUserBreakReturnsToTheTopLevel) {
  static int polls = 0;
  polls = 0;
  console.break_requested = [](void*) { return ++polls == 3; };
  EXPECT_EQ(submit("(loop)\n"), 0);
  EXPECT_EQ(captured, "*User-Break*\n");
  console.break_requested = nullptr;
  captured.clear();
  EXPECT_EQ(submit("(+ 1 2)\n"), 1);
  EXPECT_EQ(captured, "3\n");
}

// Each of these calls does work that grows with its data inside one
// built-in: it must still see the break (asked for at the fifth check).
TEST_F(TopLevelTest, LongWorkInsideOneBuiltInSeesTheBreak) {
  submit("(setq v (make-array 200000))\n");
  submit("(setq c (list 1 2 3))\n");
  submit("(rplacd (cddr c) c)\n");
  const char* texts[] = {
      "(flatsize v)\n",
      "(format nil \"~a\" v)\n",
      "(nth 2000000000 c)\n",
      "(nthcdr 2000000000 c)\n",
      "(expand 100000)\n",
  };
  for (const char* text : texts) {
    static int polls = 0;
    polls = 0;
    console.break_requested = [](void*) { return ++polls == 5; };
    captured.clear();
    EXPECT_EQ(submit(text), 0) << text;
    EXPECT_EQ(captured, "*User-Break*\n") << text;
  }
  console.break_requested = nullptr;
}

TEST_F(TopLevelTest, LoadingAMissingFileGivesNil) {
  EXPECT_FALSE(load_file("surely-not-here", true, false));
  EXPECT_EQ(captured, "");
}

// A named pipe given as a file to read is refused at once by every reader:
// none may wait for a writer that never comes.
TEST_F(TopLevelTest, NamedPipesAreRefusedWithoutWaiting) {
  char dir[] = "/tmp/velloq_fifo_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string pipe = std::string(dir) + "/p.lsp";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(load_file(pipe.c_str(), true, false));
  EXPECT_EQ(captured, "error: cannot load, not a regular file - \"" + pipe + "\"\n");
  captured.clear();
  EXPECT_EQ(submit(("(open \"" + pipe + "\")\n").c_str()), 1);
  EXPECT_EQ(captured, "NIL\n");
  set_database_list_file(pipe.c_str());
  EXPECT_FALSE(load_database_file(pipe.c_str()));
  load_database_list(pipe.c_str());
  set_database_list_file("databases.dat");
  EXPECT_EQ(restore_workspace_file(pipe.c_str(), default_workspace_limits).result, WKS_REFUSED);
  unlink(pipe.c_str());
  rmdir(dir);
}

}  // namespace
