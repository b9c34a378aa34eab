// The terminal window with the real interpreter: typed lines, the depth
// rule, history, programs waiting for input, the break, ASKBOX, the error
// colour, trimming with the log, and the input field's helps.
#include "ask_box.h"
#include "paren_match.h"
#include "terminal_output.h"
#include "velloq_driver.h"

#include <QFile>
#include <QTextBlock>
#include <QtTest>

namespace {

// The foreground colour of the first character of the pane's line `n`.
QColor lineColour(const QPlainTextEdit* pane, int n) {
  QTextBlock block = pane->document()->findBlockByNumber(n);
  return block.begin().fragment().charFormat().foreground().color();
}

}  // namespace

class TerminalWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void bannerIsBoldAndTheFontFixedPitch() {
    Environment env;
    const QTextBlock first = env.terminal->Output->document()->firstBlock();
    QVERIFY(first.text().startsWith(QStringLiteral("Velloq")));
    QCOMPARE(first.begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
    QVERIFY(QFontInfo(env.terminal->Output->font()).fixedPitch());
  }

  void expressionOverTwoLinesIsEvaluatedOnce() {
    Environment env;
    env.type(QStringLiteral("(+ 1"));
    QCOMPARE(env.terminal->session().open_depth(), 1);
    QCOMPARE(env.count(QStringLiteral("3")), 0);
    env.type(QStringLiteral("2)"));
    QCOMPARE(env.count(QStringLiteral("3")), 1);
    QCOMPARE(env.count(QStringLiteral("\u2022 (+ 1")), 1);
    QCOMPARE(env.count(QStringLiteral("\u2022 2)")), 1);
    QCOMPARE(env.terminal->session().open_depth(), 0);
  }

  void cyrillicGoesInAndComesOut() {
    Environment env;
    env.type(QStringLiteral("(progn (princ (string-upcase \"\u043f\u0440\u0438\u0432\u0435\u0442\")) (terpri))"));
    QCOMPARE(env.count(QStringLiteral("\u041f\u0420\u0418\u0412\u0415\u0422")), 1);
    // A character Windows-1251 cannot hold is echoed as what was stored.
    env.type(QStringLiteral("'a\u4e2db"));
    QCOMPARE(env.count(QStringLiteral("\u2022 'a?b")), 1);
  }

  void shiftEnterAddsALineAndEnterRunsThemAll() {
    Environment env;
    QTest::keyClicks(env.terminal->Input, QStringLiteral("(* 6"));
    QTest::keyClick(env.terminal->Input, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(env.terminal->Input, QStringLiteral("7)"));
    QCOMPARE(env.terminal->Input->toPlainText(), QStringLiteral("(* 6\n7)"));
    QCOMPARE(env.count(QStringLiteral("42")), 0);
    QTest::keyClick(env.terminal->Input, Qt::Key_Return);
    QCOMPARE(env.count(QStringLiteral("42")), 1);
    QVERIFY(env.terminal->Input->toPlainText().isEmpty());
  }

  void parenthesesInStringsAndCommentsDoNotCount() {
    Environment env;
    env.type(QStringLiteral("(princ \")\")"));
    QCOMPARE(env.terminal->session().open_depth(), 0);
    QVERIFY(env.count(QStringLiteral(")\")\"")) == 1);  // princ's text, then the value
    env.type(QStringLiteral("; ("));
    QCOMPARE(env.terminal->session().open_depth(), 0);
    env.type(QStringLiteral("(list 1 ; )"));
    QCOMPARE(env.terminal->session().open_depth(), 1);
    env.type(QStringLiteral(")"));
    QCOMPARE(env.count(QStringLiteral("(1)")), 1);
  }

  void historyKeepsLinesOnceWithinItsLimit() {
    Environment env(QString::fromLatin1(kQuietSettings) + QStringLiteral("MAX_STORED_INPUT    4\n"));
    auto& history = env.terminal->session().history();
    env.type(QStringLiteral("1"));
    env.type(QStringLiteral("1"));
    QCOMPARE(history.entries().size(), size_t(3));  // "", "1", ""
    env.type(QStringLiteral("2"));
    env.type(QStringLiteral("3"));
    QCOMPARE(history.entries().size(), size_t(4));
    QCOMPARE(QString::fromStdString(history.entries()[1]), QStringLiteral("2"));  // "1" went first
    QPlainTextEdit* input = env.terminal->Input;
    const char* expectedUp[] = {"3", "2", "", ""};
    for (const char* want : expectedUp) {
      QTest::keyClick(input, Qt::Key_Up);
      QCOMPARE(input->toPlainText(), QString::fromLatin1(want));
    }
    const char* expectedDown[] = {"2", "3", "", ""};
    for (const char* want : expectedDown) {
      QTest::keyClick(input, Qt::Key_Down);
      QCOMPARE(input->toPlainText(), QString::fromLatin1(want));
    }
  }

  void getintAsksAgainUntilANumberAndThePromptStays() {
    Environment env;
    Typist typist(*env.terminal, {QStringLiteral("abc"), QStringLiteral("42")});
    env.type(QStringLiteral("(getint \"N? \")"));
    QCOMPARE(typist.left(), 0);
    const QStringList lines = env.lines();
    const int asked = static_cast<int>(lines.indexOf(QStringLiteral("N? abc")));
    QVERIFY(asked > 0);
    QCOMPARE(lines.value(asked + 1), QStringLiteral("Requires an integer value."));
    QCOMPARE(lineColour(env.terminal->Output, asked + 1), QColor(255, 0, 0));
    QCOMPARE(lines.value(asked + 2), QStringLiteral("N? 42"));
    QCOMPARE(lines.value(asked + 3), QStringLiteral("42"));
    QVERIFY(!env.terminal->busy());
  }

  void escapeBreaksALoop() {
    Environment env;
    QTimer::singleShot(0, env.terminal->Input, [&] { QTest::keyClick(env.terminal->Input, Qt::Key_Escape); });
    env.type(QStringLiteral("(loop)"));
    QCOMPARE(env.count(QStringLiteral("*User-Break*")), 1);
    QVERIFY(!env.terminal->busy());
    // The main window's Escape breaks too.
    QTimer::singleShot(0, env.form.get(), [&] { QTest::keyClick(env.form.get(), Qt::Key_Escape); });
    env.type(QStringLiteral("(loop)"));
    QCOMPARE(env.count(QStringLiteral("*User-Break*")), 2);
  }

  void keysTypedWhileBusyDoNotReachTheInput() {
    Environment env;
    QTimer::singleShot(0, env.terminal->Input, [&] {
      QTest::keyClicks(env.terminal->Input, QStringLiteral("abc"));
      QTest::keyClick(env.terminal->Input, Qt::Key_Escape);
    });
    env.type(QStringLiteral("(loop)"));
    QVERIFY(env.terminal->Input->toPlainText().isEmpty());
  }

  void askboxOkGivesTheLinesAndCancelNil() {
    Environment env;
    QString caption, question;
    env.dialogs.answerModal([&](QDialog& dialog) {
      auto& box = dynamic_cast<TAskBox&>(dialog);
      caption = box.windowTitle();
      question = box.Panel1->text();
      QTest::keyClicks(box.Memo1, QStringLiteral("one"));
      QTest::keyClick(box.Memo1, Qt::Key_Return);
      QTest::keyClicks(box.Memo1, QStringLiteral("two"));
      QTest::mouseClick(box.OkButton, Qt::LeftButton);
      return box.result();
    });
    env.type(QStringLiteral("(askbox \"Your name?\")"));
    QCOMPARE(caption, QStringLiteral("Ask MessageBox"));
    QCOMPARE(question, QStringLiteral("Your name?"));
    // The printer shows the line break inside the string as \n.
    QCOMPARE(env.count(QStringLiteral("\"one\\ntwo\"")), 1);
    env.dialogs.answerModal([](QDialog& dialog) {
      auto& box = dynamic_cast<TAskBox&>(dialog);
      QTest::keyClicks(box.Memo1, QStringLiteral("ignored"));
      QTest::mouseClick(box.CancelButton, Qt::LeftButton);
      return box.result();
    });
    env.type(QStringLiteral("(askbox \"Again?\")"));
    QCOMPARE(env.lines().value(env.lines().size() - 2), QStringLiteral("NIL"));
    QVERIFY(env.dialogs.mismatches().isEmpty());
  }

  void errorsAreRedAndBoxedWhenAllowed_data() {
    QTest::addColumn<bool>("allowed");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
  }
  void errorsAreRedAndBoxedWhenAllowed() {
    QFETCH(bool, allowed);
    Environment env(QStringLiteral("LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\n"
                                   "ALLOW_ERROR_MESSAGES        %1\n")
                        .arg(allowed ? QStringLiteral("TRUE") : QStringLiteral("FALSE")));
    env.dialogs.forget();
    env.type(QStringLiteral("(car 1)"));
    const QString error = QStringLiteral("error: bad argument type - 1");
    const int at = static_cast<int>(env.lines().indexOf(error));
    QVERIFY(at > 0);
    QCOMPARE(lineColour(env.terminal->Output, at), QColor(255, 0, 0));
    QCOMPARE(lineColour(env.terminal->Output, at - 1), env.terminal->Output->palette().text().color());
    int boxes = 0;
    for (const auto& call : env.dialogs.calls())
      if (call.kind == ScriptedDialogs::Kind::Error && call.caption == QStringLiteral("Error") &&
          call.text == error)
        boxes++;
    QCOMPARE(boxes, allowed ? 1 : 0);
  }

  void thePaneIsTrimmedAndTheLogKeepsEveryLineInOrder() {
    QString logFile;
    {
      Environment env(QString::fromLatin1(kQuietSettings) + QStringLiteral("MAX_STORED_LINES    100\n"));
      logFile = env.path(QStringLiteral("VELLOQ.LOG"));
      env.type(QStringLiteral("(dotimes (i 300) (print i))"));
      QVERIFY(env.terminal->Output->document()->blockCount() <= 101);
      QCOMPARE(env.lines().value(env.lines().size() - 3), QStringLiteral("299"));
      env.closeWindow();
      QFile log(logFile);
      QVERIFY(log.open(QIODevice::ReadOnly));
      QList<int> numbers;
      for (const QByteArray& line : log.readAll().split('\n')) {
        bool ok = false;
        const int n = line.toInt(&ok);
        if (ok) numbers << n;
      }
      QCOMPARE(numbers.size(), 300);
      for (int i = 0; i < 300; i++) QCOMPARE(numbers[i], i);
    }
  }

  // Lines that would scroll out before being shown never reach the pane;
  // a line the pane shows in part is continued, or ended when the lines
  // after it are dropped.
  void outputBatchesKeepTheNewestLinesWhole() {
    QPlainTextEdit pane;
    TerminalOutput out(&pane, 100);
    QTextCharFormat plain, red;
    red.setForeground(Qt::red);
    out.append(QStringLiteral("abc"), &plain);
    out.flush();
    out.append(QStringLiteral("def"), &plain);
    out.newLine(false);
    out.flush();
    QCOMPARE(pane.toPlainText(), QStringLiteral("abcdef\n"));
    out.append(QStringLiteral("partial "), &plain);
    out.flush();
    for (int i = 0; i < 250; i++) {
      out.append(QString::number(i), i == 249 ? &red : &plain);
      out.newLine(i == 249);
    }
    out.flush();
    const QStringList lines = pane.toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 101);
    QCOMPARE(lines.first(), QStringLiteral("150"));
    QCOMPARE(lines[99], QStringLiteral("249"));
    QCOMPARE(pane.document()->findBlockByNumber(99).userState(), TerminalOutput::kErrorState);
    QVERIFY(pane.document()->findBlockByNumber(98).userState() != TerminalOutput::kErrorState);
  }

  void parenthesesAreMatchedAsTyped() {
    Environment env;
    QPlainTextEdit* input = env.terminal->Input;
    QTest::keyClicks(input, QStringLiteral("(a (b) c)"));
    auto marks = input->extraSelections();
    QCOMPARE(marks.size(), 2);
    QCOMPARE(marks[0].cursor.selectionStart(), 8);
    QCOMPARE(marks[1].cursor.selectionStart(), 0);
    QTest::keyClick(input, Qt::Key_Left);
    QTest::keyClick(input, Qt::Key_Left);
    QCOMPARE(input->extraSelections().size(), 0);  // between "c" and " "
    QTest::keyClicks(input, QStringLiteral(")"));
    marks = input->extraSelections();
    QCOMPARE(marks.size(), 2);
    QCOMPARE(marks[1].cursor.selectionStart(), 0);
  }

  void matchingSkipsStringsCommentsAndCharacters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("partner");
    QTest::newRow("plain") << "(a (b) c)" << 0 << 8;
    QTest::newRow("inner") << "(a (b) c)" << 5 << 3;
    QTest::newRow("string") << "(a \")\" b)" << 0 << 8;
    QTest::newRow("comment") << "(a ; )\n)" << 0 << 7;
    QTest::newRow("character") << "(#\\) x)" << 0 << 6;
    QTest::newRow("bar name") << "(|)| x)" << 0 << 6;
    QTest::newRow("unmatched") << "((a)" << 0 << -1;
    QTest::newRow("not a paren") << "(a)" << 1 << -1;
    QTest::newRow("inside string") << "\"(\" ()" << 1 << -1;
  }
  void matchingSkipsStringsCommentsAndCharacters() {
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(int, partner);
    QCOMPARE(velloq_windows::matching_paren(text.toStdString(), pos), long(partner));
  }

  void tabCompletesSymbolNames() {
    Environment env;
    QPlainTextEdit* input = env.terminal->Input;
    QTest::keyClicks(input, QStringLiteral("(defu"));
    QTest::keyClick(input, Qt::Key_Tab);
    QCOMPARE(input->toPlainText(), QStringLiteral("(defun"));
    input->clear();
    QTest::keyClicks(input, QStringLiteral("(MAKE-STRING-O"));
    QTest::keyClick(input, Qt::Key_Tab);
    QCOMPARE(input->toPlainText(), QStringLiteral("(MAKE-STRING-OUTPUT-STREAM"));
    input->clear();
    // Several names and nothing common to add: they are offered.
    QTest::keyClicks(input, QStringLiteral("(string-"));
    QTest::keyClick(input, Qt::Key_Tab);
    QCOMPARE(input->toPlainText(), QStringLiteral("(string-"));
    QVERIFY(env.terminal->lastCompletions().contains(QStringLiteral("STRING-UPCASE")));
    QVERIFY(env.terminal->lastCompletions().contains(QStringLiteral("STRING-TRIM")));
  }

  void typedCharactersOnTheMainWindowGoToTheInput() {
    Environment env;
    env.form->setFocus();
    QTest::keyClicks(env.form.get(), QStringLiteral("(+ 2 2)"));
    QCOMPARE(env.terminal->Input->toPlainText(), QStringLiteral("(+ 2 2)"));
    QTest::keyClick(env.form.get(), Qt::Key_Return);
    QCOMPARE(env.count(QStringLiteral("4")), 1);
  }

  void exitEndsTheWindow() {
    Environment env;
    env.type(QStringLiteral("(exit)"));
    QTRY_VERIFY(!env.form->isVisible());
    QVERIFY(!env.terminal->running());
  }
};

QTEST_MAIN(TerminalWindowTest)
#include "terminal_window_test.moc"
