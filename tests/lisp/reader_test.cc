// Symbols, the reader's number syntax and the printer's format check.
#include <gtest/gtest.h>

#include <cstdio>

#include "node.h"
#include "printer.h"
#include "reader.h"
#include "state.h"
#include "symbols.h"
#include "toplevel.h"

using namespace velloq;

namespace {

class SymbolTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(start_interpreter()); }
  void TearDown() override { stop_interpreter(); }
};

TEST(HashTest, ShiftsAndXorsSignedBytes) {
  struct Case { const char* name; int size; int bucket; } cases[] = {
      {"", 199, 0},
      {"A", 199, 65 % 199},
      {"AB", 199, ((65 << 2) ^ 66) % 199},
      {"ABC", 199, ((((65 << 2) ^ 66) << 2) ^ 67) % 199},
      // A byte of the upper half is negative: h = -1 (0xFF as signed).
      {"\xFF", 199, 1},
      {"\xC0", 199, 64},
      {"ABC", 7, ((((65 << 2) ^ 66) << 2) ^ 67) % 7},
  };
  for (auto& c : cases)
    EXPECT_EQ(hash_name(c.name, c.size), c.bucket) << "name \"" << c.name << "\" size " << c.size;
}

TEST(NumberSyntaxTest, FollowsTheReaderRules) {
  struct Case { const char* text; bool number; } cases[] = {
      {"1", true}, {"+7", true}, {"-2.5", true}, {"1E3", true}, {"1.", true},
      {".5", true}, {"1e-3", true}, {"1.2.3", false}, {"E5", false}, {"+", false},
      {"-", false}, {".", false}, {"1E", false}, {"1x", false}, {"", false},
  };
  for (auto& c : cases) EXPECT_EQ(has_number_syntax(c.text), c.number) << "text " << c.text;
}

TEST(NumberFormatTest, AcceptsOnlyOneConversionOfTheRightKind) {
  struct Case { const char* fmt; char kind; bool ok; } cases[] = {
      {"%ld", 'i', true},    {"%5ld", 'i', true},   {"%-08lx", 'i', true},
      {"<%ld>", 'i', true},  {"%%%ld", 'i', true},  {"%d", 'i', false},
      {"%s", 'i', false},    {"%n", 'i', false},    {"%ld%ld", 'i', false},
      {"%*ld", 'i', false},  {"plain", 'i', false}, {"%999ld", 'i', false},
      {"%g", 'f', true},     {"%.3f", 'f', true},   {"%10.2e", 'f', true},
      {"%Lf", 'f', false},   {"%ld", 'f', false},   {"%*g", 'f', false},
      {"%g%g", 'f', false},  {"%.999f", 'f', false},
      // Long digit runs are refused without overflowing a count.
      {"%4294967396ld", 'i', false}, {"%0200ld", 'i', true}, {"%10000ld", 'i', false},
      {"%.4294967396f", 'f', false}, {"%99999999999999999999g", 'f', false},
      {"%200.200f", 'f', true},
  };
  for (auto& c : cases)
    EXPECT_EQ(valid_number_format(c.fmt, c.kind), c.ok) << "format " << c.fmt << " kind " << c.kind;
}

TEST_F(SymbolTest, InterningFindsTheSameSymbol) {
  Node* a = intern_symbol("SOMETHING");
  EXPECT_EQ(intern_symbol("SOMETHING"), a);
  EXPECT_EQ(find_symbol("SOMETHING"), a);
  EXPECT_EQ(find_symbol("SOMETHING-ELSE"), nullptr);
  EXPECT_EQ(intern_symbol("NIL"), nullptr);
}

// The object array's buckets stay the truth for the index over them: a
// bucket emptied by hand, or a symbol taken out of a bucket's middle by
// hand and then collected, is seen at the next lookup.
TEST_F(SymbolTest, LookupsFollowBucketsEditedByHand) {
  Node* table = symbol_value(obarray_symbol);
  Node* a = intern_symbol("EDITED-BY-HAND");
  int b = hash_name("EDITED-BY-HAND", OBARRAY_SIZE);
  ASSERT_EQ(find_symbol("EDITED-BY-HAND"), a);
  Node* kept = slot(table, b);
  set_slot(table, b, nullptr);
  EXPECT_EQ(find_symbol("EDITED-BY-HAND"), nullptr);
  set_slot(table, b, kept);
  EXPECT_EQ(find_symbol("EDITED-BY-HAND"), a);

  // Another symbol of the same bucket goes in front; `a` is unlinked from
  // behind it, and the collection frees it.
  char name[32];
  Node* front = nullptr;
  for (int i = 0; !front; i++) {
    snprintf(name, sizeof name, "SAME-BUCKET-%d", i);
    if (hash_name(name, OBARRAY_SIZE) == b) front = intern_symbol(name);
  }
  ASSERT_EQ(car(slot(table, b)), front);
  ASSERT_EQ(car(cdr(slot(table, b))), a);
  Node* first = slot(table, b);
  first->u.c.cdr = cdr(cdr(first));
  collect_garbage();
  EXPECT_EQ(find_symbol("EDITED-BY-HAND"), nullptr);
  EXPECT_EQ(find_symbol(name), front);
}

TEST_F(SymbolTest, KeywordsAreTheirOwnValue) {
  Node* k = intern_symbol("/FRESH-KEY");
  EXPECT_EQ(symbol_value(k), k);
  EXPECT_EQ(symbol_value(intern_symbol("/")), nullptr);
}

TEST_F(SymbolTest, PropertiesAreAddedAtTheFrontAndReplaced) {
  Node* s = intern_symbol("PLIST-HOLDER");
  Node* a = intern_symbol("A");
  Node* b = intern_symbol("B");
  put_property(s, a, make_fixnum(1));
  put_property(s, b, make_fixnum(2));
  EXPECT_EQ(car(slot(s, S_PLIST)), b);
  put_property(s, a, make_fixnum(3));
  EXPECT_EQ(get_property(s, a), make_fixnum(3));
  remove_property(s, b);
  EXPECT_EQ(get_property(s, b), nullptr);
  EXPECT_EQ(car(slot(s, S_PLIST)), a);
}

TEST_F(SymbolTest, ProtectionFollowsTheAttributes) {
  Node* s = intern_symbol("GUARDED");
  EXPECT_TRUE(is_protected(nullptr));
  EXPECT_FALSE(is_protected(s));
  set_owned(s);
  EXPECT_TRUE(is_protected(s));
  clear_owned(s);
  EXPECT_FALSE(is_protected(s));
  put_property(s, s_readonly, s_t);
  EXPECT_TRUE(is_protected(s));
}

TEST_F(SymbolTest, SystemSymbolsAreNeverUninterned) {
  unintern_symbol(s_quote);
  EXPECT_EQ(find_symbol("QUOTE"), s_quote);
  Node* plain = intern_symbol("DISPOSABLE");
  unintern_symbol(plain);
  EXPECT_EQ(find_symbol("DISPOSABLE"), nullptr);
}

TEST_F(SymbolTest, TheNumberedKeywordsAreNotMarked) {
  EXPECT_EQ(get_property(s_start1, s_keyword), nullptr);
  EXPECT_EQ(get_property(s_end2, s_keyword), nullptr);
  EXPECT_EQ(get_property(s_start, s_keyword), s_t);
  EXPECT_EQ(symbol_value(s_print_case), s_upcase);
}

}  // namespace
