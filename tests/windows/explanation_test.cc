// The explanation command of the main window and its window, after
// consultations answered through the real buttons.
#include "explanation_window.h"
#include "test_kbases.h"
#include "window_driver.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// What the explanation window showed when it was opened.
struct Shown {
  QString caption;
  QStringList how;
  QStringList samples;
  QStringList reasons;  // the reason shown after clicking each sample
};

QStringList rowsOf(const QListWidget& list) {
  QStringList rows;
  for (int i = 0; i < list.count(); ++i) rows << list.item(i)->text();
  return rows;
}

}  // namespace

class ExplanationTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString fruit_;

  void load(WindowSet& w) {
    w.dialogs.answerOpenFile(fruit_);
    QTest::mouseClick(w.form->LoadKB, Qt::LeftButton);
  }

  void consult(WindowSet& w, const QStringList& answers) {
    AnswerDriver driver(*w.form, answers);
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QVERIFY(driver.left().isEmpty());
  }

  QToolButton* button(WindowSet& w) {
    return w.form->ToolBar1->findChild<QToolButton*>(QStringLiteral("ExplainKB"));
  }

  // Opens the explanation by its tool button and clicks through its samples.
  Shown openExplanation(WindowSet& w) {
    Shown shown;
    w.dialogs.answerModal([&shown](QDialog& dialog) {
      auto& form = static_cast<TExplainForm&>(dialog);
      form.show();
      if (!QTest::qWaitForWindowExposed(&form)) qWarning("explanation not exposed");
      form.Pages->setCurrentIndex(1);
      shown.caption = form.windowTitle();
      shown.how = treeOutline(*form.How);
      shown.samples = rowsOf(*form.Samples);
      for (int i = 0; i < form.Samples->count(); ++i) {
        const QRect row = form.Samples->visualItemRect(form.Samples->item(i));
        QTest::mouseClick(form.Samples->viewport(), Qt::LeftButton, {}, row.center());
        shown.reasons << form.Reason->toPlainText();
      }
      form.hide();
      return int(QDialog::Accepted);
    });
    QToolButton* command = button(w);
    if (command) QTest::mouseClick(command, Qt::LeftButton);
    return shown;
  }

  void noMismatch(const WindowSet& w) {
    QVERIFY2(w.dialogs.mismatches().isEmpty(), qPrintable(w.dialogs.mismatches().join("; ")));
    QCOMPARE(w.dialogs.pending(), 0);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    fruit_ = dir_.filePath(QStringLiteral("fruit.dat"));
    writeFruitBase(fruit_);
    qApp->setQuitOnLastWindowClosed(false);
  }

  // Enabled by a finished consultation only; loading, clearing and the
  // next run take it away.
  void commandFollowsConsultations() {
    WindowSet w;
    QVERIFY(button(w));
    QCOMPARE(w.form->ExplainKB->text(), u("Объяснение"));
    QVERIFY(!w.form->ExplainKB->isEnabled());
    load(w);
    QVERIFY(!w.form->ExplainKB->isEnabled());
    consult(w, {"yes"});
    QVERIFY(w.form->ExplainKB->isEnabled());
    QVERIFY(button(w)->isEnabled());
    {
      // The next run takes it away while it goes; a cancelled run counts.
      AnswerDriver driver(*w.form, {"cancel"});
      bool enabledDuringRun = true;
      auto watch = connect(w.form.get(), &TForm1::questionWaiting, this,
                           [&] { enabledDuringRun = w.form->ExplainKB->isEnabled(); });
      QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
      disconnect(watch);
      QVERIFY(!enabledDuringRun);
      QVERIFY(w.form->ExplainKB->isEnabled());
    }
    load(w);
    QVERIFY(!w.form->ExplainKB->isEnabled());
    consult(w, {"yes"});
    QVERIFY(w.form->ExplainKB->isEnabled());
    QTest::mouseClick(w.form->ClearKB, Qt::LeftButton);
    QVERIFY(!w.form->ExplainKB->isEnabled());
    QVERIFY(!button(w)->isEnabled());
    noMismatch(w);
  }

  void howAndTheRejectingAnswer() {
    WindowSet w;
    load(w);
    consult(w, {"no", "yes"});
    const Shown shown = openExplanation(w);
    QCOMPARE(shown.caption, u("Объяснение"));
    QCOMPARE(shown.how, QStringList({u("Лимон:"), u("  «Цвет желтый» — «да»"),
                                     u("  Цвет желтый"), u("    «Цвет желтый» — «да»")}));
    QCOMPARE(shown.samples, QStringList({u("Яблоко")}));
    QCOMPARE(shown.reasons,
             QStringList({u("отвергнут ответом «нет» на вопрос «Цвет красный»")}));
    noMismatch(w);
  }

  // A cancelled run has no result; one sample was cut short, the other was
  // never reached.
  void cancelledRun() {
    WindowSet w;
    load(w);
    consult(w, {"cancel"});
    const Shown shown = openExplanation(w);
    QCOMPARE(shown.how, QStringList({u("Результата нет")}));
    QCOMPARE(shown.samples, QStringList({u("Яблоко"), u("Лимон")}));
    QCOMPARE(shown.reasons,
             QStringList({u("рассмотрение прервано отменой на вопросе «Цвет красный»"),
                          u("не рассматривался: консультация прервана раньше")}));
    noMismatch(w);
  }
};

QTEST_MAIN(ExplanationTest)
#include "explanation_test.moc"
