// Windows-1251 literals made by the compiler agree with the run-time codec.
#include <gtest/gtest.h>

#include "cp1251.h"
#include "cp1251_literal.h"
#include "cp1251_table.h"

namespace {

using namespace cp1251::literals;

// Every assigned byte survives the round trip through its code point.
consteval bool tableRoundTrips() {
  for (int b = 0; b < 256; ++b) {
    if (b == 0x98) continue;
    if (cp1251::table::byteOf(cp1251::table::codePointOf(static_cast<unsigned char>(b))) != b)
      return false;
  }
  return cp1251::table::byteOf(0xFFFD) == -1;
}
static_assert(tableRoundTrips());
static_assert(std::string_view("Да"_cp1251) == "\xC4\xE0");
static_assert("[Н]"_cp1251.size == 3);
static_assert(cp1251::literal("a\r\n").view() == "a\r\n");

constexpr const char* kConstant = "Ошибка: "_cp1251.c_str();

TEST(Cp1251Literal, AgreesWithTheCodec) {
  constexpr auto text =
      "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя Ёё№«»—…€ x"_cp1251;
  EXPECT_EQ(std::string(text.view()),
            cp1251::fromUtf8(
                "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя Ёё№«»—…€ x"));
  EXPECT_EQ(text.view().size(), std::char_traits<char>::length(text.c_str()));
}

TEST(Cp1251Literal, SameTextIsOneObject) {
  EXPECT_EQ(kConstant, "Ошибка: "_cp1251.c_str());
  EXPECT_STREQ(kConstant, "\xCE\xF8\xE8\xE1\xEA\xE0: ");
}

}  // namespace
