// Renders the main window after a consultation, and the splash half way,
// to PNG files in the build folder (build/.../screenshots/), for people to
// look at.
#include "test_kbases.h"
#include "splash_window.h"
#include "window_driver.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class ScreenshotTest : public QObject {
  Q_OBJECT

 private slots:
  void mainWindowAfterConsultation() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("fruit.dat"));
    writeFruitBase(file);
    WindowSet w;
    w.dialogs.answerOpenFile(file);
    QTest::mouseClick(w.form->LoadKB, Qt::LeftButton);
    AnswerDriver driver(*w.form, {"no", "yes"});
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QCOMPARE(driver.questions(), 2);

    QCoreApplication::processEvents();  // the layout after the answer panel went
    const QImage shot = w.form->grab().toImage();
    QVERIFY(!shot.isNull());
    QCOMPARE(shot.size() / shot.devicePixelRatio(), w.form->size());
    const QString folder = QStringLiteral(SUITE_BINARY_DIR "/screenshots");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(shot.save(folder + QStringLiteral("/norvix_main.png")));
  }

  void splashHalfWay() {
    TSplash splash;
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    for (int i = 0; i < 12; ++i) splash.Timer1Timer();
    const QImage shot = splash.grab().toImage();
    QVERIFY(!shot.isNull());
    QCOMPARE(shot.size() / shot.devicePixelRatio(), QSize(418, 295));
    const QString folder = QStringLiteral(SUITE_BINARY_DIR "/screenshots");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(shot.save(folder + QStringLiteral("/norvix_splash.png")));
  }
};

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
