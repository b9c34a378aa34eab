#include "qt_text.h"

#include <gtest/gtest.h>

TEST(QtText, RoundTripAndLossReport) {
  bool lossy = true;
  EXPECT_EQ(cp1251::fromQString(cp1251::toQString("\xCF\xF0\xE8\xE2\xE5\xF2"), &lossy),
            "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_FALSE(lossy);
  EXPECT_EQ(cp1251::toQString("\xCF\xF0\xE8\xE2\xE5\xF2"), QString::fromUtf8("Привет"));
  EXPECT_EQ(cp1251::fromQString(QString::fromUtf8("x日"), &lossy), "x?");
  EXPECT_TRUE(lossy);
}
