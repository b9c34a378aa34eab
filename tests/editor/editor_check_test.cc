// The editor's check command: the checker's findings for the base as it is
// in the editor, shown in a window, with nothing changed.
#include "check_window.h"
#include "editor_fixture.h"
#include "test_kbases.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Shown {
  QString caption;
  QStringList findings;
  QString summary;
};

// Clicks the check button and records what its window showed.
Shown runCheck(EditorSet& s) {
  Shown shown;
  s.dialogs.answerModal([&shown](QDialog& dialog) {
    auto& form = static_cast<TCheckForm&>(dialog);
    shown.caption = form.windowTitle();
    shown.findings = entries(form.Findings);
    shown.summary = form.Summary->text();
    return int(QDialog::Accepted);
  });
  click(*s.editor, s.editor->CheckButt);
  return shown;
}

}  // namespace

class EditorCheckTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString fruit_;

  void noMismatch(const EditorSet& s) {
    QVERIFY2(s.dialogs.mismatches().isEmpty(), qPrintable(s.dialogs.mismatches().join("; ")));
    QCOMPARE(s.dialogs.pending(), 0);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    fruit_ = dir_.filePath(QStringLiteral("fruit.dat"));
    writeFruitBase(fruit_);
  }

  void soundBaseHasNoFindings() {
    EditorSet s;
    QVERIFY(s.form->LoadFile(QFile::encodeName(fruit_).toStdString(), "fruit"));
    QCOMPARE(s.editor->CheckButt->text(), u("Про&верка"));
    const Shown shown = runCheck(s);
    QCOMPARE(shown.caption, u("Проверка базы знаний"));
    QCOMPARE(shown.findings, QStringList());
    QCOMPARE(shown.summary, u("Замечаний нет."));
    noMismatch(s);
  }

  // A prototype just added in the editor has no sample yet; the check sees
  // it before anything is saved, and leaves the base as it was.
  void faultyBaseListsItsFindings() {
    EditorSet s;
    QVERIFY(s.form->LoadFile(QFile::encodeName(fruit_).toStdString(), "fruit"));
    click(*s.editor, s.editor->AddProto);
    typeLabel(*s.editor, u("Овощ"));
    const size_t frames = s.kb().Frames().size();
    const bool modified = s.kb().Modified;
    const Shown shown = runCheck(s);
    QCOMPARE(shown.findings,
             QStringList({u("[нет экземпляров] у прототипа «Овощ» нет ни одного экземпляра")}));
    QCOMPARE(shown.summary, u("Замечаний: 1"));
    QCOMPARE(s.kb().Frames().size(), frames);
    QCOMPARE(s.kb().Modified, modified);
    noMismatch(s);
  }
};

QTEST_MAIN(EditorCheckTest)
#include "editor_check_test.moc"
