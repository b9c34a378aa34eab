// The program's start: splash, windows, first load, in that order.
#include "norvix_windows.h"
#include "scripted_dialogs.h"
#include "test_kbases.h"
#include "splash_window.h"

#include <QTemporaryDir>
#include <QtTest>

class ProgramStartTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }

  void withoutSplashLoadsTheFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("fruit.dat"));
    writeFruitBase(file);
    ScriptedDialogs dialogs;
    auto windows = StartWindows(dialogs, nullptr, QFile::encodeName(file).toStdString());
    QVERIFY(windows->Form1->isVisible());
    QVERIFY(!windows->Form2->isVisible());
    QCOMPARE(windows->Form1->Form2, windows->Form2.get());
    QCOMPARE(windows->Form1->windowTitle(), QString::fromUtf8("KV7 Quillon v2.0 - Сад"));
    QCOMPARE(windows->Form1->Memo1->toPlainText(),
             QString::fromUtf8("[Загрузка \"") + file + QString::fromUtf8("\"]\n   "));
    QVERIFY(windows->Form1->QueryKB->isEnabled());
    QVERIFY(dialogs.calls().empty());
  }

  void missingFileShowsTheMessage() {
    ScriptedDialogs dialogs;
    auto windows = StartWindows(dialogs, nullptr, "/no/such/folder/kb.dat");
    QVERIFY(windows->Form1->isVisible());
    QCOMPARE(windows->Form1->Memo1->toPlainText(), QString());
    QCOMPARE(dialogs.calls().size(), size_t(1));
    QCOMPARE(dialogs.calls()[0].text,
             QString::fromUtf8("Невозможно открыть файл!\n/no/such/folder/kb.dat: "
                               "нет такого файла или папки"));
  }

  // The windows are created while the splash shows, and the main window
  // appears only once the splash's timer has stopped; a short interval
  // keeps the test quick, the stages stay the same.
  void splashFirstThenMainWindow() {
    TSplash splash;
    splash.Timer1->setInterval(1);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    ScriptedDialogs dialogs;
    bool mainShownDuringSplash = false;
    bool windowsCreatedDuringSplash = false;
    QObject::connect(&splash, &TSplash::progressStopped, &splash, [&] {
      bool form1 = false, form2 = false;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        form1 = form1 || w->objectName() == QLatin1String("Form1");
        form2 = form2 || w->objectName() == QLatin1String("Form2");
        if (w->objectName() == QLatin1String("Form1") && w->isVisible())
          mainShownDuringSplash = true;
      }
      windowsCreatedDuringSplash = form1 && form2;
    });
    auto windows = StartWindows(dialogs, &splash, std::string());
    QVERIFY(splash.finished());
    QVERIFY(!splash.isVisible());
    QVERIFY(!mainShownDuringSplash);
    QVERIFY(windowsCreatedDuringSplash);
    QVERIFY(windows->Form1->isVisible());
    QCOMPARE(windows->Form1->windowTitle(), QStringLiteral("KV7 Quillon v2.0"));
  }
};

QTEST_MAIN(ProgramStartTest)
#include "norvix_windows_test.moc"
