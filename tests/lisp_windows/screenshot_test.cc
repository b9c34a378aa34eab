// Renders the main window with the docked terminal after a short session,
// and the splash, to PNG files in the build folder (screenshots/), for
// people to look at.
#include "velloq_driver.h"
#include "velloq_splash.h"

#include <QDir>
#include <QtTest>

namespace {

QString saveShot(const QImage& shot, const char* name) {
  const QString folder = QStringLiteral(SUITE_BINARY_DIR "/screenshots");
  QDir().mkpath(folder);
  const QString file = folder + QLatin1Char('/') + QString::fromLatin1(name);
  return shot.save(file) ? file : QString();
}

// A picture that is not one colour throughout.
bool hasDrawing(const QImage& image) {
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3)
      if (image.pixel(x, y) != first) return true;
  return false;
}

}  // namespace

class ScreenshotTest : public QObject {
  Q_OBJECT

 private slots:
  void mainWindowWithTheDockedTerminal() {
    Environment env;
    env.form->resize(760, 420);
    env.type(QStringLiteral("(defun square (x) (* x x))"));
    env.type(QStringLiteral("(square 12)"));
    env.type(QStringLiteral("(addframe 'vehicle)"));
    env.type(QStringLiteral("(car 1)"));
    QTest::keyClicks(env.terminal->Input, QStringLiteral("(list (square 3) \"frames\")"));
    QCoreApplication::processEvents();
    const QImage shot = env.form->grab().toImage();
    QCOMPARE(shot.size() / shot.devicePixelRatio(), env.form->size());
    QVERIFY(hasDrawing(shot));
    QVERIFY(!saveShot(shot, "velloq_main.png").isEmpty());
  }

  void splash() {
    TSplash splash;
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    const QImage shot = splash.grab().toImage();
    QCOMPARE(shot.size() / shot.devicePixelRatio(), QSize(420, 240));
    QVERIFY(hasDrawing(shot));
    QVERIFY(!saveShot(shot, "velloq_splash.png").isEmpty());
  }
};

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
