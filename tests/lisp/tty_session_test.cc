// The terminal session's input buffer rule.
#include <gtest/gtest.h>

#include "tty_session.h"

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

}  // namespace
