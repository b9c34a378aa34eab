#include "fact_set.h"

#include <gtest/gtest.h>

namespace projbase {
namespace {

TEST(ProjbaseFactSet, LookupTakesTheFirstMatchOfNameAndTechnology) {
  FactSet facts = {{"a", "x", "1"}, {"a", "y", "2"}, {"a", "x", "3"}};
  ASSERT_NE(codeOf(facts, "a", "x"), nullptr);
  EXPECT_EQ(*codeOf(facts, "a", "x"), "1");
  EXPECT_EQ(*codeOf(facts, "a", "y"), "2");
  EXPECT_EQ(codeOf(facts, "a", "z"), nullptr);
  EXPECT_EQ(codeOf(facts, "x", "a"), nullptr);
  EXPECT_EQ(codeOf(FactSet{}, "", ""), nullptr);
}

TEST(ProjbaseFactSet, LookupComparesBytesSoLetterCaseCounts) {
  FactSet facts = {{"\xCF\xF0\xEE\xE5\xEA\xF2", "Lit", "1"}};   // Проект
  EXPECT_EQ(codeOf(facts, "\xCF\xD0\xCE\xC5\xCA\xD2", "Lit"), nullptr);  // ПРОЕКТ
  EXPECT_EQ(codeOf(facts, "\xCF\xF0\xEE\xE5\xEA\xF2", "lit"), nullptr);
  EXPECT_NE(codeOf(facts, "\xCF\xF0\xEE\xE5\xEA\xF2", "Lit"), nullptr);
}

TEST(ProjbaseFactSet, AddAppendsWithoutCheckingForDuplicates) {
  FactSet facts;
  addFact(facts, {"a", "b", "c"});
  addFact(facts, {"a", "b", "c"});
  EXPECT_EQ(facts, (FactSet{{"a", "b", "c"}, {"a", "b", "c"}}));
}

TEST(ProjbaseFactSet, ChangeMovesTheFirstMatchToTheEndWithTheNewCode) {
  FactSet facts = {{"a", "x", "1"}, {"b", "x", "2"}, {"a", "x", "3"}};
  EXPECT_TRUE(changeCode(facts, "a", "x", "9"));
  EXPECT_EQ(facts, (FactSet{{"b", "x", "2"}, {"a", "x", "3"}, {"a", "x", "9"}}));
}

TEST(ProjbaseFactSet, ChangeWithoutMatchChangesNothing) {
  FactSet facts = {{"a", "x", "1"}};
  EXPECT_FALSE(changeCode(facts, "a", "X", "9"));
  EXPECT_EQ(facts, (FactSet{{"a", "x", "1"}}));
}

TEST(ProjbaseFactSet, DeleteRemovesOnlyTheFirstRecordWithTheCode) {
  FactSet facts = {{"a", "x", "1"}, {"b", "y", "2"}, {"c", "z", "1"}};
  EXPECT_TRUE(removeByCode(facts, "1"));
  EXPECT_EQ(facts, (FactSet{{"b", "y", "2"}, {"c", "z", "1"}}));
  EXPECT_FALSE(removeByCode(facts, "3"));
  EXPECT_EQ(facts.size(), 2u);
}

}  // namespace
}  // namespace projbase
