// Splitting value lists and formatting messages.
#include <gtest/gtest.h>

#include "scripted_host.h"

namespace norvix::test {
namespace {

TEST(SplitValueList, TableOfCases) {
  struct Case {
    const char* text;
    std::vector<std::string> items;
  } cases[] = {
      {"красный;  зеленый ;синий", {"красный", "зеленый", "синий"}},
      {"a;;b", {"a", ";b"}},
      {"", {}},
      {"   ", {}},
      {"a; b", {"a", "b"}},
      {"a;", {"a"}},
      {"a; ;b", {"a", ";b"}},
      {"x\t y ;z", {"x y", "z"}},
      {";", {";"}},
      {"a;  ;", {"a", ";"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> expected;
    for (const std::string& item : c.items) expected.push_back(W(item.c_str()));
    EXPECT_EQ(SplitValueList(W(c.text)), expected) << "text \"" << c.text << "\"";
  }
}

TEST(FormatMessage, ReplacesEveryOccurrence) {
  EXPECT_EQ(FormatMessage("%f", "A"), "A");
  EXPECT_EQ(FormatMessage("x %f y %f", "A"), "x A y A");
  EXPECT_EQ(FormatMessage("no marker", "A"), "no marker");
  EXPECT_EQ(FormatMessage("%", "A"), "%");
  EXPECT_EQ(FormatMessage("%%ff", "A"), "%Af");
}

TEST(FormatMessage, NameHoldingPercentFIsInsertedOnce) {
  EXPECT_EQ(FormatMessage("<%f>", "a%fb"), "<a%fb>");
  EXPECT_EQ(FormatMessage("%f%f", "%f"), "%f%f");
}

}  // namespace
}  // namespace norvix::test
