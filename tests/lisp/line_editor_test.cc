// The line editor over a scripted terminal: keys, history, search, the
// Windows-1251 edge and the display.
#include "line_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using velloq_ui::EditResult;
using velloq_ui::LineEditor;

namespace {

// Input from a string in chunks of `chunk` bytes; output collected.
class ScriptedTerminal : public velloq_ui::EditorTerminal {
 public:
  explicit ScriptedTerminal(std::string input, size_t chunk = 4096, int columns = 80)
      : input_(std::move(input)), chunk_(chunk), columns_(columns) {}
  size_t read(char* buffer, size_t size) override {
    size_t n = std::min({size, chunk_, input_.size() - pos_});
    input_.copy(buffer, n, pos_);
    pos_ += n;
    return n;
  }
  bool input_pending() override { return pos_ < input_.size(); }
  void write(std::string_view bytes) override { output += bytes; }
  int columns() override { return columns_; }
  std::string output;

 private:
  std::string input_;
  size_t pos_ = 0;
  size_t chunk_;
  int columns_;
};

// The terminal window's history rules: two empty entries to start with,
// Up stops at entry 0 (an empty line), Down at the last (empty) entry.
class SessionHistory : public velloq_ui::EditorHistory {
 public:
  explicit SessionHistory(std::vector<std::string> stored) {
    entries_.push_back("");
    for (auto& s : stored) entries_.push_back(s);
    entries_.push_back("");
    cursor_ = entries_.size() - 1;
  }
  std::string older() override {
    if (cursor_ > 0) cursor_--;
    return entries_[cursor_];
  }
  std::string newer() override {
    if (cursor_ + 1 < entries_.size()) cursor_++;
    return entries_[cursor_];
  }
  size_t entry_count() const override { return entries_.size(); }
  std::string entry(size_t i) const override { return entries_[i]; }

 private:
  std::vector<std::string> entries_;
  size_t cursor_;
};

struct Edit {
  EditResult result;
  std::string line;
};

Edit edit(const std::string& keys, velloq_ui::EditorHistory* history = nullptr) {
  ScriptedTerminal term(keys);
  LineEditor editor(term, true);
  Edit e;
  e.result = editor.read_line("> ", history, &e.line);
  return e;
}

TEST(LineEditorTest, EditingKeys) {
  struct Case { const char* keys; const char* line; } cases[] = {
      {"abc\r", "abc"},
      {"abc\n", "abc"},
      {"abc\x1b[D\x1b[DX\r", "aXbc"},
      {"abc\x1bOD\x1bODX\x1b[CY\r", "aXbYc"},
      {"abc\x02X\x06Y\r", "abXcY"},
      {"abc\x01X\r", "Xabc"},
      {"abc\x01\x05X\r", "abcX"},
      {"abc\x1b[HX\x1b[FY\r", "XabcY"},
      {"abc\x1bOHX\x1bOFY\r", "XabcY"},
      {"abc\x1b[1~X\x1b[4~Y\r", "XabcY"},
      {"abc\x1b[7~X\x1b[8~Y\r", "XabcY"},
      {"abc\x7f\r", "ab"},
      {"abc\x08\x08\r", "a"},
      {"\x7f\x7f" "a\r", "a"},
      {"abc\x01\x1b[3~\r", "bc"},
      {"abc\x1b[3~\r", "abc"},
      {"abc def\x1b[D\x1b[D\x1b[D\x0b\r", "abc "},
      {"abc def\x1b[D\x1b[D\x1b[D\x15\r", "def"},
      {"(car  'abc)\x17\r", "(car  "},
      {"abc   \x17\r", ""},
      {"ab\x04" "c\r", "abc"},
      {"\x1b[1;5Cab\x1b[15~c\x1b[Z\r", "abc"},
      {"a\x1b" "b\r", "ab"},
      {"\tx\x1a\r", "\tx"},
  };
  for (auto& c : cases) {
    Edit e = edit(c.keys);
    EXPECT_EQ(e.result, EditResult::Line) << c.keys;
    EXPECT_EQ(e.line, c.line) << c.keys;
  }
}

TEST(LineEditorTest, EndsAndInterrupts) {
  EXPECT_EQ(edit("\x04").result, EditResult::EndOfInput);
  EXPECT_EQ(edit("").result, EditResult::EndOfInput);
  EXPECT_EQ(edit("(car '(1 2)\x03").result, EditResult::Interrupted);

  ScriptedTerminal term("abc");
  LineEditor editor(term, true);
  std::string line;
  EXPECT_EQ(editor.read_line("> ", nullptr, &line), EditResult::Line) << "text before the end counts";
  EXPECT_EQ(line, "abc");
  EXPECT_EQ(editor.read_line("> ", nullptr, &line), EditResult::EndOfInput);
}

TEST(LineEditorTest, LinesThatCameTogetherAreReadOneByOne) {
  ScriptedTerminal term("(+ 1\r\n2)\r\x04");
  LineEditor editor(term, true);
  std::string line;
  ASSERT_EQ(editor.read_line("> ", nullptr, &line), EditResult::Line);
  EXPECT_EQ(line, "(+ 1");
  ASSERT_EQ(editor.read_line("1> ", nullptr, &line), EditResult::Line);
  EXPECT_EQ(line, "2)") << "CR LF is one line end";
  EXPECT_EQ(editor.read_line("> ", nullptr, &line), EditResult::EndOfInput);
}

TEST(LineEditorTest, TerminalTextBecomesWindows1251AndTheCursorMovesByCharacters) {
  struct Case { const char* keys; std::string line; } cases[] = {
      {"\xD0\xBF\xD1\x80\xD0\xB8\r", "\xEF\xF0\xE8"},      // при
      {"\xD1\x8F\xD1\x8F\x1b[Dx\r", "\xFFx\xFF"},          // яя, Left, x
      {"\xD0\xAF\x7f" "b\r", "b"},                          // Я, Backspace
      {"\xE2\x82\xAC\r", "\x88"},                           // the euro sign
      {"\xE4\xB8\xAD\r", "?"},                              // no such letter in Windows-1251
      {"\xC3(\r", "?("},                                    // a broken sequence
      {"\xFF" "a\r", "?a"},
  };
  for (auto& c : cases) EXPECT_EQ(edit(c.keys).line, c.line) << c.keys;
}

TEST(LineEditorTest, UpAndDownFollowTheSessionsHistory) {
  struct Case { const char* keys; const char* line; } cases[] = {
      {"\x1b[A\r", "(car x)"},
      {"\x1b[A\x1b[A\r", "(+ 1 2)"},
      {"\x1b[A\x1b[A\x1b[A\r", ""},
      {"\x1b[A\x1b[A\x1b[A\x1b[A\x1b[B\r", "(+ 1 2)"},
      {"\x1b[A\x1b[A\x1b[B\r", "(car x)"},
      {"\x1b[A\x1b[B\r", ""},
      {"\x10\x10\x0e\r", "(car x)"},
      {"\x1bOA\r", "(car x)"},
      {"\x1b[AX\r", "(car x)X"},
  };
  for (auto& c : cases) {
    SessionHistory h({"(+ 1 2)", "(car x)"});
    EXPECT_EQ(edit(c.keys, &h).line, c.line) << c.keys;
  }
  EXPECT_EQ(edit("ab\x1b[A\r").line, "ab") << "no history: Up does nothing";
}

TEST(LineEditorTest, ReverseSearch) {
  struct Case { const char* keys; const char* line; } cases[] = {
      {"\x12sq\r", "(sq 5)"},
      {"\x12sq\x12\r", "(defun sq (x) (* x x))"},
      {"\x12sq\x12\x12\r", "(defun sq (x) (* x x))"},
      {"\x12print\r", "(print 'hello)"},
      {"\x12sqz\r", "(sq 5)"},
      {"\x12sqz\x7f\r", "(sq 5)"},
      {"abc\x12sq\x07\r", "abc"},
      {"\x12sq\x1b[Dz\r", "z(sq 5)"},
      {"\x12sq\x05!\r", "(sq 5)!"},
      {"\x12zzz\r", ""},
      {"\x12nothing\r", "(print 'hello)"},  // "n" found, "no" not: the last find stays
  };
  for (auto& c : cases) {
    SessionHistory h({"(defun sq (x) (* x x))", "(sq 5)", "(print 'hello)"});
    EXPECT_EQ(edit(c.keys, &h).line, c.line) << c.keys;
  }
  SessionHistory h({"(sq 5)"});
  EXPECT_EQ(edit("\x12sq\x03", &h).result, EditResult::Interrupted);
}

TEST(LineEditorTest, ShowsPromptAndLineInTheTerminalsEncoding) {
  ScriptedTerminal term("\xD1\x8F" "b\r");
  LineEditor editor(term, true);
  std::string line;
  editor.read_line("> ", nullptr, &line);
  // The last drawing: prompt, line, erase to the end, cursor to column 4.
  std::string last = "\r> \xD1\x8F" "b\x1b[0K\r\x1b[4C\r\n";
  ASSERT_GE(term.output.size(), last.size());
  EXPECT_EQ(term.output.substr(term.output.size() - last.size()), last);
}

TEST(LineEditorTest, ReverseSearchShowsItsQuery) {
  SessionHistory h({"(sq 5)"});
  ScriptedTerminal term("\x12sq", 1);
  LineEditor editor(term, true);
  std::string line;
  editor.read_line("> ", &h, &line);
  EXPECT_NE(term.output.find("(reverse-i-search)`sq': (sq 5)"), std::string::npos) << term.output;
}

TEST(LineEditorTest, LongLineIsKeptWholeAndShownScrolled) {
  std::string text;
  for (int i = 0; i < 10000; i++) text += (char)('a' + i % 26);
  ScriptedTerminal term(text + "\r", 4096, 40);
  LineEditor editor(term, true);
  std::string line;
  ASSERT_EQ(editor.read_line("> ", nullptr, &line), EditResult::Line);
  EXPECT_EQ(line, text);
  size_t drawings = 0;
  for (size_t at = 0; (at = term.output.find("\x1b[0K", at)) != std::string::npos; at++) drawings++;
  EXPECT_LE(drawings, 6u) << "a pasted burst is drawn once per read, not once per character";
  std::string last = "\r> " + text.substr(text.size() - 37) + "\x1b[0K\r\x1b[39C\r\n";
  EXPECT_EQ(term.output.substr(term.output.size() - last.size()), last);
}

TEST(LineEditorTest, CursorInsideALongLineStaysOnTheRow) {
  std::string text(100, 'x');
  ScriptedTerminal term(text + "\x01" "\x1b[C\x1b[C\r", 4096, 20);
  LineEditor editor(term, true);
  std::string line;
  editor.read_line("> ", nullptr, &line);
  std::string last = "\r> " + std::string(17, 'x') + "\x1b[0K\r\x1b[4C\r\n";
  EXPECT_EQ(term.output.substr(term.output.size() - last.size()), last);
}

TEST(LineEditorTest, CodesetNames) {
  EXPECT_TRUE(velloq_ui::codeset_is_utf8("UTF-8"));
  EXPECT_TRUE(velloq_ui::codeset_is_utf8("utf8"));
  EXPECT_FALSE(velloq_ui::codeset_is_utf8("KOI8-R"));
  EXPECT_FALSE(velloq_ui::codeset_is_utf8("ANSI_X3.4-1968"));
}

}  // namespace
