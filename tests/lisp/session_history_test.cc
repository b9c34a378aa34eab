// The input history: what is stored, the limit, and where Up and Down go.
#include "session_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using velloq_ui::SessionHistory;

namespace {

using Entries = std::vector<std::string>;

TEST(SessionHistoryTest, StartsWithTwoEmptyEntriesAndTheCursorOnTheSecond) {
  SessionHistory h;
  EXPECT_EQ(h.entries(), (Entries{"", ""}));
  EXPECT_EQ(h.cursor(), 1u);
}

TEST(SessionHistoryTest, StoresTrimmedLinesButNotEmptyOnesOrARepeat) {
  SessionHistory h;
  for (const char* line : {"a", "a", " \t\r\n", "b \t\r\n", "a"}) h.add(line);
  EXPECT_EQ(h.entries(), (Entries{"", "a", "b", "a", ""}));
  EXPECT_EQ(h.cursor(), 4u);
}

TEST(SessionHistoryTest, NeverHoldsMoreThanTheMaximumAndTheOldestGoesFirst) {
  struct Case { int max; Entries expected; } cases[] = {
      {3, {"", "e", ""}},
      {4, {"", "d", "e", ""}},
      {100, {"", "a", "b", "c", "d", "e", ""}},
  };
  for (auto& c : cases) {
    SessionHistory h(c.max);
    for (const char* line : {"a", "b", "c", "d", "e"}) h.add(line);
    EXPECT_EQ(h.entries(), c.expected) << "max " << c.max;
  }
}

TEST(SessionHistoryTest, UpAndDownWalkTheEntriesAndStopAtBothEnds) {
  SessionHistory h;
  h.add("first");
  h.add("second");
  std::vector<std::string> seen;
  for (int i = 0; i < 4; i++) seen.push_back(h.older());
  for (int i = 0; i < 4; i++) seen.push_back(h.newer());
  EXPECT_EQ(seen, (Entries{"second", "first", "", "", "first", "second", "", ""}));
}

TEST(SessionHistoryTest, AddingMovesTheCursorToTheEndEvenForARepeat) {
  SessionHistory h;
  h.add("x");
  h.older();
  h.add("x");
  EXPECT_EQ(h.cursor(), h.entries().size() - 1);
  EXPECT_EQ(h.older(), "x");
}

}  // namespace
