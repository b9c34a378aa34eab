// Key and line reading of both consoles, fed from a file of typed bytes.
// The tests run in the C locale, where the terminal is taken to be UTF-8.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "byte_input.h"
#include "line_editor.h"
#include "stream_console.h"

namespace projbase {
namespace {

// A descriptor that reads `bytes` and then the end of input.
class TypedInput {
 public:
  explicit TypedInput(const std::string& bytes) : file_(std::tmpfile()) {
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
    std::fflush(file_);
    ::lseek(fileno(file_), 0, SEEK_SET);
  }
  ~TypedInput() { std::fclose(file_); }
  int fd() const { return fileno(file_); }

 private:
  std::FILE* file_;
};

struct Editor {
  explicit Editor(const std::string& typed)
      : input(typed), bytes(input.fd()), editor(bytes, true, [this](std::string_view s) {
          shown += s;
        }) {}
  TypedInput input;
  ByteInput bytes;
  std::string shown;
  LineEditor editor;
};

TEST(ProjbaseLineEditor, ReadsLinesShowingWhatIsTyped) {
  struct Case {
    std::string typed;
    std::string line;  // Windows-1251
    std::string shown;
  };
  const Case cases[] = {
      {"abc\r", "abc", "abc\n"},
      {"abc\n", "abc", "abc\n"},
      {"\r", "", "\n"},
      {"\xD0\x96\xD1\x8B\x7F\xD1\x8F\r", "\xC6\xFF", "Жы\b \bя\n"},  // Жы, Backspace, я
      {"\xD0\x96\x08\x08\x08x\r", "x", "Ж\b \bx\n"},
      {"\x7F\r", "", "\n"},
      {"a\x01\tb\x04\x15\r", "ab", "ab\n"},
      {"a\x1b[Db\x1bOAc\x1b[1;5Cd\r", "abcd", "abcd\n"},
      {"\xFF\xD0z\xE4\xB8\xAD\r", "??z?", "??z?\n"},
      {"a\"b\\c\r", "a\"b\\c", "a\"b\\c\n"},
  };
  for (const Case& c : cases) {
    Editor e(c.typed);
    std::string line;
    EXPECT_EQ(e.editor.readLine(line), Input::Ok) << "typing " << c.typed;
    EXPECT_EQ(line, c.line) << "typing " << c.typed;
    EXPECT_EQ(e.shown, c.shown) << "typing " << c.typed;
  }
}

TEST(ProjbaseLineEditor, EscAbandonsTheLineAndTheRestIsReadAfterIt) {
  Editor e("ab\x1bxy\r");
  std::string line;
  EXPECT_EQ(e.editor.readLine(line), Input::Abandoned);
  EXPECT_EQ(e.shown, "ab\n");
  EXPECT_EQ(e.editor.readLine(line), Input::Ok);
  EXPECT_EQ(line, "xy");
}

TEST(ProjbaseLineEditor, EndOfInputInsideALineEndsTheRun) {
  for (const std::string typed : {"", "abc", "\xD0", "\x1b["}) {
    Editor e(typed);
    std::string line;
    EXPECT_EQ(e.editor.readLine(line), Input::End) << "typing " << typed;
  }
}

TEST(ProjbaseLineEditor, KeepsAtMostTheLongestLine) {
  Editor e(std::string(kMaxLineLength + 1000, 'a') + "\x7F" + "b\r");
  std::string line;
  EXPECT_EQ(e.editor.readLine(line), Input::Ok);
  EXPECT_EQ(line, std::string(kMaxLineLength - 1, 'a') + "b");
}

TEST(ProjbaseLineEditor, ReadsKeysWithoutShowingThem) {
  Editor e("1\xD0\x96\x1b[A\x1b");
  std::vector<int> keys;
  int key = 0;
  while (e.editor.readKey(key) == Input::Ok) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<int>{'1', 0xC6, -1, 0x1B}));
  EXPECT_EQ(e.shown, "");
}

struct Stream {
  explicit Stream(const std::string& typed) : input(typed), console(input.fd(), -1) {}
  TypedInput input;
  StreamConsole console;
};

TEST(ProjbaseStreamConsole, ReadsLinesUpToTheLineFeed) {
  struct Case {
    std::string typed;
    Input input;
    std::string line;
  };
  const Case cases[] = {
      {"abc\n", Input::Ok, "abc"},
      {"abc\r\n", Input::Ok, "abc"},
      {"\n", Input::Ok, ""},
      {"\xD0\x9F\xD1\x80\xD0\xBE\n", Input::Ok, "\xCF\xF0\xEE"},  // Про
      {"a\tb\x01\x7F\n", Input::Ok, "a\tb\x01\x7F"},
      {"ab\x1b" "cd\n", Input::Abandoned, ""},
      {"abc", Input::End, ""},
      {"", Input::End, ""},
  };
  for (const Case& c : cases) {
    Stream s(c.typed);
    std::string line;
    EXPECT_EQ(s.console.readLine(line), c.input) << "reading " << c.typed;
    if (c.input == Input::Ok) {
      EXPECT_EQ(line, c.line) << "reading " << c.typed;
    }
  }
}

TEST(ProjbaseStreamConsole, AfterEscReadingGoesOnRightAfterIt) {
  Stream s("ab\x1b" "2cd\n");
  std::string line;
  int key = 0;
  EXPECT_EQ(s.console.readLine(line), Input::Abandoned);
  EXPECT_EQ(s.console.readKey(key), Input::Ok);
  EXPECT_EQ(key, '2');
  EXPECT_EQ(s.console.readLine(line), Input::Ok);
  EXPECT_EQ(line, "cd");
}

TEST(ProjbaseStreamConsole, AKeyIsTheNextCharacter) {
  Stream s("1\xD0\x96\x1b\n");
  std::vector<int> keys;
  int key = 0;
  while (s.console.readKey(key) == Input::Ok) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<int>{'1', 0xC6, 0x1B, '\n'}));
}

TEST(ProjbaseStreamConsole, KeepsAtMostTheLongestLineAndGoesOnAfterIt) {
  Stream s(std::string(5 * kMaxLineLength, 'a') + "\nnext\n");
  std::string line;
  EXPECT_EQ(s.console.readLine(line), Input::Ok);
  EXPECT_EQ(line, std::string(kMaxLineLength, 'a'));
  EXPECT_EQ(s.console.readLine(line), Input::Ok);
  EXPECT_EQ(line, "next");
}

}  // namespace
}  // namespace projbase
