#include "qt_translation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

namespace {

// Qt's buttons speak Russian once the translation for a Russian locale is
// in; English needs none.
TEST(QtTranslation, RussianLocaleTranslatesQtsOwnTexts) {
  int argc = 1;
  char name[] = "qt_translation_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  EXPECT_FALSE(installQtTranslation(app, QLocale(QLocale::English, QLocale::UnitedStates)));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
  ASSERT_TRUE(installQtTranslation(app, QLocale(QLocale::Russian, QLocale::Russia)));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
            QString::fromUtf8("Отмена"));
}

}  // namespace
