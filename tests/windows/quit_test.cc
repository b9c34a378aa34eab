// The application quitting while a question waits (the desktop session
// ends, for instance): the consultation ends as cancelled instead of
// waiting for an answer that can no longer come.  A program of its own,
// since quitting changes the application's state.
#include "test_kbases.h"
#include "window_driver.h"

#include <QTemporaryDir>
#include <QtTest>

class QuitTest : public QObject {
  Q_OBJECT

 private slots:
  void quitWhileQuestionWaits() {
    qApp->setQuitOnLastWindowClosed(false);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("fruit.dat"));
    writeFruitBase(file);
    WindowSet w;
    w.dialogs.answerOpenFile(file);
    QTest::mouseClick(w.form->LoadKB, Qt::LeftButton);
    int questions = 0;
    connect(w.form.get(), &TForm1::questionWaiting, this, [&] {
      ++questions;
      QTimer::singleShot(0, this, [] { QCoreApplication::exit(0); });
    });
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QCOMPARE(questions, 1);
    QVERIFY(!w.form->ConsultEngine().Running());
    QVERIFY(!w.form->ReportKB->isEnabled());
    const QStringList lines = memoLines(*w.form);
    QCOMPARE(lines.last(), QString::fromUtf8("Решений не найдено."));
  }
};

QTEST_MAIN(QuitTest)
#include "quit_test.moc"
