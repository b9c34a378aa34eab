// Blank normalisation and multi-line fields.
#include <gtest/gtest.h>

#include "blanks.h"
#include "lines.h"

namespace norvix {
namespace {

TEST(NormalizeBlanks, TableOfCases) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"  abc", " abc"},
      {"\t\tabc", " abc"},
      {"abc  ", "abc"},
      {"a \t b", "a b"},
      {"  a  b  ", " a b"},
      {" \t ", ""},
      {"a\tb", "a b"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NormalizeBlanks(c.in), c.out) << "input \"" << c.in << "\"";
}

TEST(Lines, SplitAtEveryKindOfLineEnd) {
  struct Case {
    const char* text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"\r\n", {""}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitLines(c.text), c.lines) << "text \"" << c.text << "\"";
}

TEST(Lines, JoinEndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  Lines lines{"one", "", "three"};
  EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

TEST(Lines, JoinedLinesAreTheTextsSplitAndJoinGiveBack) {
  struct Case {
    const char* text;
    bool joined;
  } cases[] = {
      {"", true},          {"\r\n", true},   {"a\r\n", true},  {"a\r\n\r\nb\r\n", true},
      {"a", false},        {"a\r\nb", false}, {"a\n", false},    {"a\r", false},
      {"a\r\r\n", false}, {"\n\r\n", false}, {"a\n\r\n", false}, {"\r", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsJoinedLines(c.text), c.joined) << "text \"" << c.text << "\"";
    EXPECT_EQ(IsJoinedLines(c.text), JoinLines(SplitLines(c.text)) == c.text) << c.text;
  }
}

}  // namespace
}  // namespace norvix
