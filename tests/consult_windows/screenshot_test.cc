// Renders the main window after a consultation to a PNG in the build folder
// (build/.../screenshots/norvix_main.png), for people to look at.
#include "test_kbases.h"
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

    const QImage shot = w.form->grab().toImage();
    QVERIFY(!shot.isNull());
    QCOMPARE(shot.size() / shot.devicePixelRatio(), w.form->size());
    const QString folder = QStringLiteral(SUITE_BINARY_DIR "/screenshots");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(shot.save(folder + QStringLiteral("/norvix_main.png")));
  }
};

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
