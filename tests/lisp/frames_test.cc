// The frame system below the transcripts: the events the windows get, the
// value reader of database files, and saving when a file cannot be written.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "captured_console.h"
#include "databases.h"
#include "frame_events.h"
#include "io_faults.h"
#include "printer.h"
#include "streams.h"
#include "symbols.h"
#include "toplevel.h"

using namespace velloq;

namespace {

using lisptest::captured;

// Every event as one line of text.
class EventLog : public FrameEvents {
 public:
  std::vector<std::string> lines;
  void frame_added(const char* name) override { lines.push_back(std::string("added ") + name); }
  void frame_removed(const char* name) override { lines.push_back(std::string("removed ") + name); }
  void parent_changed(const char* name, const char* parent) override {
    lines.push_back(std::string("parent ") + name + " " + parent);
  }
  void database_loading(const char* file) override { lines.push_back(std::string("file ") + file); }
  void database_frame(const char* file, const char* frame) override {
    lines.push_back(std::string("record ") + file + " " + frame);
  }
};

class FramesTest : public lisptest::CapturedConsoleTest {
 protected:
  void TearDown() override {
    set_frame_events(nullptr);
    CapturedConsoleTest::TearDown();
  }
  // Runs text through the top level; returns what it printed.
  std::string run(const char* text) {
    evaluate(text);
    return captured;
  }
};

TEST_F(FramesTest, WindowsHearOfFramesMadeRelinkedAndDeleted) {
  EventLog log;
  set_frame_events(&log);
  run("(progn (addframe 'car) (addframe 'car) (delframe (getname (addchild 'car))))\n");
  std::vector<std::string> expected = {"added CAR", "added CAR1", "parent CAR1 CAR", "removed CAR1"};
  EXPECT_EQ(log.lines, expected);
}

TEST_F(FramesTest, NameListHoldsEveryFrameOfTheSession) {
  stop_interpreter();
  FrameNameList names;
  set_frame_events(&names);
  ASSERT_TRUE(start_interpreter());
  EXPECT_EQ(names.names().count("NODE"), 1u);
  EXPECT_EQ(names.names().count("ON_REMCHILD"), 1u);
  size_t builtin = names.names().size();
  run("(progn (addframe 'car) (addframe 'bus) (delframe 'car))\n");
  EXPECT_EQ(names.names().size(), builtin + 1);
  EXPECT_EQ(names.names().count("BUS"), 1u);
  EXPECT_EQ(names.names().count("CAR"), 0u);
}

struct ReaderCase {
  const char* text;
  const char* printed;  // the forms read, printed as a list; null: failure
  const char* message;  // the failure's message
};

TEST_F(FramesTest, ValueReaderReadsPrintedFormsAndReportsTheRest) {
  run("(progn (setq self-bound 'self-bound) (addframe 'car) (addslot car 'color) nil)\n");
  const ReaderCase cases[] = {
      {"NIL", "(NIL)", nullptr},
      {"-42 2.5 1e+30 3.0", "(-42 2.5 1e+30 3)", nullptr},
      {"'RED SELF-BOUND", "(RED SELF-BOUND)", nullptr},
      {"(1 (2 . 3) #(A \"s\"))", "((1 (2 . 3) #(A \"s\")))", nullptr},
      {"\"a\\nb\\101\"", "(\"a\\nbA\")", nullptr},
      {"'CAR^COLOR", "(COLOR)", nullptr},
      {"", "NIL", nullptr},
      {"(1 2", nullptr, "unexpected end of text"},
      {"\"open", nullptr, "unterminated string"},
      {"\"\\9\"", nullptr, "invalid octal digit"},
      {"(. 1)", nullptr, "invalid dotted pair"},
      {"(1 . 2 3)", nullptr, "invalid dotted pair"},
      {"#(1 . 2)", nullptr, "invalid dotted pair"},
      {")", nullptr, "illegal character"},
      {"$$9$$", nullptr, "illegal character"},
      {"'NOFRAME^SLOT", nullptr, "unknown slot"},
  };
  for (const ReaderCase& c : cases) {
    SCOPED_TRACE(c.text);
    Node* forms = nullptr;
    const char* message = nullptr;
    bool ok = read_db_forms(c.text, (long)strlen(c.text), &forms, &message);
    EXPECT_EQ(ok, c.printed != nullptr);
    if (c.printed) {
      captured.clear();
      print_node(console_stream, forms, true);
      EXPECT_EQ(captured, c.printed);
    } else {
      ASSERT_NE(message, nullptr);
      EXPECT_STREQ(message, c.message);
    }
  }
}

TEST_F(FramesTest, DeeplyNestedTextFailsWithoutExhaustingTheStack) {
  std::string text(100000, '(');
  Node* forms = nullptr;
  const char* message = nullptr;
  EXPECT_FALSE(read_db_forms(text.data(), (long)text.size(), &forms, &message));
  EXPECT_STREQ(message, "nesting too deep");
}

TEST_F(FramesTest, PrinterKeepsEveryDigitAndTheKindOfNumbers) {
  run("(progn (setq x (list 0.1 2.0 -1.0e-300 (/ 1.0 3))) nil)\n");
  std::string out;
  print_db_value(out, symbol_value(intern_symbol("X")));
  Node* forms = nullptr;
  ASSERT_TRUE(read_db_forms(out.data(), (long)out.size(), &forms, nullptr));
  captured.clear();
  print_node(console_stream, car(forms), true);
  std::string again = captured;
  run("x\n");
  EXPECT_EQ(again + "\n", captured);
  EXPECT_NE(out.find("2.0"), std::string::npos) << out;
  EXPECT_TRUE(flonump(car(cdr(car(forms)))));
}

TEST_F(FramesTest, SaveGoesOnWhenOneFileCannotBeWritten) {
  if (!fileio::faults::built()) GTEST_SKIP() << "no fault injection in this build";
  char dir[] = "/tmp/velloq-frames-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string one = std::string(dir) + "/one.kb";
  std::string two = std::string(dir) + "/two.kb";
  std::string list = std::string(dir) + "/list.dat";
  ASSERT_TRUE(fileio::replaceFile(one, "previous contents\n"));
  set_database_list_file(list.c_str());
  run("(addframe 'a)\n");
  run(("(setq a^database \"" + one + "\")\n").c_str());
  run("(setparents (addframe 'b) a)\n");
  run(("(setq b^database \"" + two + "\")\n").c_str());
  fileio::faults::failAt(1);  // the first step of the first file
  std::string out = run("(save)\n");
  fileio::faults::failAt(0);
  EXPECT_NE(out.find("; cannot save " + one), std::string::npos) << out;
  EXPECT_NE(out.find("; 2 frames saved"), std::string::npos) << out;
  std::string bytes;
  ASSERT_TRUE(fileio::readFile(one, bytes));
  EXPECT_EQ(bytes, "previous contents\n");
  ASSERT_TRUE(fileio::readFile(two, bytes));
  EXPECT_EQ(bytes.rfind("#BEGIN B\n", 0), 0u) << bytes;
  ASSERT_TRUE(fileio::readFile(list, bytes));
  EXPECT_EQ(bytes, one + "\n" + two + "\n");
  set_database_list_file("databases.dat");
  std::remove(one.c_str());
  std::remove(two.c_str());
  std::remove(list.c_str());
  std::remove(dir);
}

TEST_F(FramesTest, LoaderTellsTheWindowsOfFilesAndRecords) {
  char path[] = "/tmp/velloq-frames-db-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  const char text[] = "#BEGIN P\nIS :\tQ\n#END\n#BEGIN Q\n#END\n";
  ASSERT_EQ(write(fd, text, sizeof text - 1), (ssize_t)(sizeof text - 1));
  close(fd);
  EventLog log;
  set_frame_events(&log);
  EXPECT_TRUE(load_database_file(path));
  std::string p(path);
  std::vector<std::string> expected = {"file " + p, "added P", "record " + p + " P", "added Q", "parent P Q", "record " + p + " Q"};
  EXPECT_EQ(log.lines, expected);
  std::remove(path);
  EXPECT_FALSE(load_database_file(path));
}

}  // namespace
