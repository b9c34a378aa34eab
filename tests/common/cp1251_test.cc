#include "cp1251.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(Cp1251, KnownCharactersBothWays) {
  struct Case {
    std::string win;
    std::string utf8;
  };
  const Case cases[] = {
      {"", ""},
      {"abc 123", "abc 123"},
      {"\xC0\xE1\xE2", "Абв"},
      {"\xDF\xFF", "Яя"},
      {"\xA8\xB8", "Ёё"},
      {"\xB9", "№"},
      {"\x88", "€"},
      {"\xAB\xBB", "«»"},
      {"\x96\x97", "–—"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cp1251::toUtf8(c.win), c.utf8) << "to UTF-8 of " << c.utf8;
    EXPECT_EQ(cp1251::fromUtf8(c.utf8), c.win) << "from UTF-8 of " << c.utf8;
  }
}

TEST(Cp1251, EveryAssignedByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    if (b == 0x98) continue;
    std::string one(1, static_cast<char>(b));
    EXPECT_EQ(cp1251::fromUtf8(cp1251::toUtf8(one)), one) << "byte " << b;
  }
}

TEST(Cp1251, UnassignedByteIsVisibleNotDropped) {
  EXPECT_EQ(cp1251::toUtf8("a\x98z"), "a\xEF\xBF\xBDz");
}

TEST(Cp1251, UnrepresentableAndMalformedInputIsReplacedAndReported) {
  bool lossy = false;
  EXPECT_EQ(cp1251::fromUtf8("日本", '?', &lossy), "??");
  EXPECT_TRUE(lossy);
  EXPECT_EQ(cp1251::fromUtf8("a\xFF\xC3", '?', &lossy), "a??");
  EXPECT_TRUE(lossy);
  EXPECT_EQ(cp1251::fromUtf8("Да", '?', &lossy), "\xC4\xE0");
  EXPECT_FALSE(lossy);
  // Overlong forms, surrogates and code points beyond U+10FFFF: each byte
  // of such a sequence is replaced, none decodes to a character.
  struct Case {
    const char* utf8;
    const char* win;
  } malformed[] = {
      {"\xC0\xAE", "??"},          {"\xC0\x80", "??"},
      {"\xE0\x80\xAF", "???"},    {"\xF0\x80\x80\xAF", "????"},
      {"\xED\xA0\x80", "???"},    {"\xF4\x90\x80\x80", "????"},
  };
  for (const Case& c : malformed) {
    EXPECT_EQ(cp1251::fromUtf8(c.utf8, '?', &lossy), c.win) << c.win;
    EXPECT_TRUE(lossy);
  }
}

TEST(Cp1251, CaseFoldingCoversLatinAndCyrillicRangesOnly) {
  EXPECT_EQ(cp1251::toUpper(std::string("ab\xE0\xFF" "1")), "AB\xC0\xDF" "1");
  EXPECT_EQ(cp1251::toLower(std::string("AB\xC0\xDF" "1")), "ab\xE0\xFF" "1");
  EXPECT_EQ(cp1251::toUpper(static_cast<unsigned char>(0xB8)), 0xB8);  // outside the ranges
  EXPECT_TRUE(cp1251::equalsIgnoreCase("\xCF\xF0\xEE", "\xEF\xD0\xCE"));
  EXPECT_FALSE(cp1251::equalsIgnoreCase("\xCF\xF0\xEE", "\xEF\xD0"));
  EXPECT_FALSE(cp1251::equalsIgnoreCase("a", "b"));
}

TEST(Cp1251, CLocaleIsTreatedAsUtf8) {
  std::setlocale(LC_CTYPE, "C");
  EXPECT_EQ(cp1251::localeCodeset(), "UTF-8");
  EXPECT_EQ(cp1251::toLocale("\xC4\xE0"), "Да");
  EXPECT_EQ(cp1251::fromLocale("Да"), "\xC4\xE0");
}

}  // namespace
