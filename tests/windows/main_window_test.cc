// The main window with real widgets: loading, consultations by buttons and
// by keys, "Почему?", cancel, clear, closing, and the unsaved-changes
// questions of clear, load and close.
#include "editor_link.h"
#include "test_kbases.h"
#include "window_driver.h"

#include <sys/stat.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// An editor that records what the main window asks of it.
class RecordingEditor : public EditorLink {
 public:
  void DropSelection() override { calls << QStringLiteral("drop"); }
  void RefreshEditor() override { calls << QStringLiteral("refresh"); }
  void ShowEditor() override { calls << QStringLiteral("show"); }
  QStringList calls;
};

const QString kCaption = QStringLiteral("KV7 Quillon v2.0");

QString loadLine(const QString& path) { return u("[Загрузка \"") + path + u("\"]"); }
QString saveLine(const QString& path) { return u("[Сохранение \"") + path + u("\"]"); }

// Lines of the successful fruit consultation answered No, then Yes.
QStringList fruitDialog(const QString& no, const QString& yes) {
  return {u("Диалог:"),
          u("Цвет красный (Д/Н)? ") + no,
          u("Цвет желтый (Д/Н)? ") + yes,
          u("Найдено решение:"),
          u("   "),
          u("Реультаты отчета:"),
          u("Лимон:"),
          u("[]"),
          u("Цвет желтый"),
          u("    ")};
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString fruit_, noTarget_, system_, garbage_;

  // Loads `path` through the load button and the scripted open dialog.
  void load(WindowSet& w, const QString& path) {
    w.dialogs.answerOpenFile(path);
    QTest::mouseClick(w.form->LoadKB, Qt::LeftButton);
  }

  void noMismatch(const WindowSet& w) {
    QVERIFY2(w.dialogs.mismatches().isEmpty(), qPrintable(w.dialogs.mismatches().join("; ")));
    QCOMPARE(w.dialogs.pending(), 0);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    fruit_ = dir_.filePath(QStringLiteral("fruit.dat"));
    noTarget_ = dir_.filePath(QStringLiteral("notarget.dat"));
    system_ = dir_.filePath(QStringLiteral("system.dat"));
    garbage_ = dir_.filePath(QStringLiteral("garbage.dat"));
    writeFruitBase(fruit_);
    writeNoTargetBase(noTarget_);
    writeSystemBase(system_);
    writeBytes(garbage_, "XYZ\x02 not a knowledge base");
    QCOMPARE(::mkfifo(QFile::encodeName(dir_.filePath(QStringLiteral("pipe.dat"))).constData(),
                      0600), 0);
    qApp->setQuitOnLastWindowClosed(false);
  }

  void startState() {
    WindowSet w;
    QCOMPARE(w.form->windowTitle(), kCaption);
    QCOMPARE(w.form->size(), QSize(626, 475));
    QCOMPARE(w.form->minimumSize(), QSize(450, 300));
    QVERIFY(!w.form->QueryKB->isEnabled());
    QVERIFY(!w.form->ReportKB->isEnabled());
    QVERIFY(w.form->ClearKB->isEnabled());
    QVERIFY(!w.form->Panel1->isVisible());
    QVERIFY(w.form->Memo1->isReadOnly());
    QVERIFY(w.form->Memo1->font().fixedPitch());
    QCOMPARE(w.form->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(w.form->Memo1->toPlainText(), QString());
    const QToolButton* buttons[] = {w.form->ClearKB, w.form->LoadKB, w.form->SaveKB,
                                    w.form->EditKB, w.form->QueryKB, w.form->ReportKB,
                                    w.form->ExitKB};
    const char* hints[] = {"Clear knowledge base", "Load knowledge base", "Save knowledge base",
                           "Edit knowledge base", "Query", "Show report", "Exit program"};
    for (int i = 0; i < 7; ++i) {
      // A Russian line with the shortcut, then the button's own hint.
      QVERIFY2(buttons[i]->toolTip().endsWith(QLatin1Char('\n') + QString::fromLatin1(hints[i])),
               qPrintable(buttons[i]->toolTip()));
      QVERIFY2(!buttons[i]->icon().isNull(), hints[i]);
      QCOMPARE(buttons[i]->width(), 30);
    }
    QCOMPARE(w.form->Why->text(), u("&Почему?"));
    QCOMPARE(w.form->Cancel->text(), u("&Отмена"));
    QCOMPARE(w.form->Yes->text(), u("&Да"));
    QCOMPARE(w.form->No->text(), u("&Нет"));
    QCOMPARE(w.form->Panel1->height(), 40);
  }

  void loadSetsCaptionAndPrintsLines() {
    WindowSet w;
    load(w, fruit_);
    QCOMPARE(w.form->windowTitle(), kCaption + u(" - Сад"));
    QCOMPARE(memoLines(*w.form), QStringList({loadLine(fruit_), u("   ")}));
    QVERIFY(w.form->QueryKB->isEnabled());
    QVERIFY(!w.form->KBase().Modified);
    QCOMPARE(w.dialogs.calls().size(), size_t(1));
    const auto& call = w.dialogs.calls()[0];
    QCOMPARE(call.kind, ScriptedDialogs::Kind::OpenFile);
    QCOMPARE(call.caption, u("Select a file to load"));
    QCOMPARE(call.filters, QStringList({u("Knowledge base files *.dat (*.dat)"),
                                        u("Text files *.txt (*.txt)"),
                                        u("All files * (*)")}));
    QCOMPARE(call.defaultSuffix, u("dat"));
    noMismatch(w);
  }

  void loadCancelledDoesNothing() {
    WindowSet w;
    w.dialogs.answerOpenFile(std::nullopt);
    QTest::mouseClick(w.form->LoadKB, Qt::LeftButton);
    QCOMPARE(w.form->Memo1->toPlainText(), QString());
    QCOMPARE(w.form->windowTitle(), kCaption);
    noMismatch(w);
  }

  void loadWithoutTargetLeavesQueryDisabled() {
    WindowSet w;
    load(w, noTarget_);
    QCOMPARE(w.form->windowTitle(), kCaption + u(" - Сад"));
    QVERIFY(!w.form->QueryKB->isEnabled());
    QCOMPARE(memoLines(*w.form), QStringList({loadLine(noTarget_), u("   ")}));
    noMismatch(w);
  }

  // The message names the file and the reason where the system refused it.
  void failedLoadPrintsNothingAndShowsMessage_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    const QString missing = dir_.filePath(QStringLiteral("none.dat"));
    const QString pipe = dir_.filePath(QStringLiteral("pipe.dat"));
    QTest::newRow("not a knowledge base") << garbage_ << u("Файл невозможно интерпретировать!");
    QTest::newRow("missing file")
        << missing << u("Невозможно открыть файл!\n") + missing + u(": нет такого файла или папки");
    QTest::newRow("named pipe")
        << pipe << u("Невозможно открыть файл!\n") + pipe + u(": не обычный файл");
  }

  void failedLoadPrintsNothingAndShowsMessage() {
    QFETCH(QString, file);
    QFETCH(QString, message);
    WindowSet w;
    load(w, fruit_);
    const QString before = w.form->Memo1->toPlainText();
    load(w, file);
    QCOMPARE(w.form->Memo1->toPlainText(), before);
    QCOMPARE(w.dialogs.calls().size(), size_t(3));
    const auto& error = w.dialogs.calls()[2];
    QCOMPARE(error.kind, ScriptedDialogs::Kind::Error);
    QCOMPARE(error.caption, u("Ошибка"));
    QCOMPARE(error.text, message);
    // The good base stays current, and the window goes on showing it.
    QCOMPARE(w.form->windowTitle(), kCaption + u(" - Сад"));
    QVERIFY(w.form->QueryKB->isEnabled());
    QCOMPARE(w.form->KBase().ProjectName, std::string("\xD1\xE0\xE4"));  // Сад
    QVERIFY(!w.form->KBase().Frames().empty());
    QVERIFY(!w.form->KBase().Modified);
    noMismatch(w);
  }

  void consultationByButtons() {
    WindowSet w;
    load(w, fruit_);
    AnswerDriver driver(*w.form, {"check", "no", "yes"});
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QCOMPARE(driver.questions(), 2);
    QVERIFY(driver.left().isEmpty());
    QCOMPARE(driver.seen(), QStringList({"Pt"}));  // panel shown, toolbar disabled
    QCOMPARE(memoLines(*w.form),
             QStringList({loadLine(fruit_), u("   ")}) + fruitDialog(u("[Н]"), u("[Д]")));
    QCOMPARE(treeOutline(*w.form2->Synt), QStringList({u("Лимон:"), u("  Цвет желтый")}));
    QVERIFY(w.form->ReportKB->isEnabled());
    QVERIFY(w.form->ToolBar1->isEnabled());
    QVERIFY(!w.form->Panel1->isVisible());
    QVERIFY(!w.form->Waiting());
    noMismatch(w);
  }

  void consultationByKeys() {
    WindowSet w;
    load(w, fruit_);
    AnswerDriver driver(*w.form, {u("key:н"), u("key:д")});
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QCOMPARE(driver.questions(), 2);
    QCOMPARE(memoLines(*w.form),
             QStringList({loadLine(fruit_), u("   ")}) + fruitDialog(u("[Н]"), u("[Д]")));
    QCOMPARE(treeOutline(*w.form2->Synt), QStringList({u("Лимон:"), u("  Цвет желтый")}));
    QVERIFY(w.form->ReportKB->isEnabled());
    noMismatch(w);
  }

  // Keys typed into the window reach Memo1, which PrintLine gave the focus.
  void consultationByKeyboardFocus() {
    WindowSet w;
    w.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    load(w, fruit_);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.form->Memo1));
    AnswerDriver driver(*w.form, {u("focus:н"), u("focus:д")});
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QCOMPARE(driver.questions(), 2);
    QCOMPARE(memoLines(*w.form).mid(2), fruitDialog(u("[Н]"), u("[Д]")));
    noMismatch(w);
  }

  void editorFollowsTheBase() {
    WindowSet w;
    RecordingEditor editor;
    w.form->setEditor(&editor);
    load(w, fruit_);
    QCOMPARE(editor.calls, QStringList({"drop", "refresh"}));
    editor.calls.clear();
    load(w, garbage_);  // a failed load leaves the editor's base in place
    QCOMPARE(editor.calls, QStringList());
    editor.calls.clear();
    QTest::mouseClick(w.form->ClearKB, Qt::LeftButton);
    QCOMPARE(editor.calls, QStringList({"drop", "refresh"}));
    editor.calls.clear();
    QTest::mouseClick(w.form->EditKB, Qt::LeftButton);
    QCOMPARE(editor.calls, QStringList({"show"}));
    w.form->setEditor(nullptr);
    noMismatch(w);
  }

  void upperCaseKeysAnswerToo() {
    WindowSet w;
    load(w, fruit_);
    AnswerDriver driver(*w.form, {u("key:x"), u("key:Д")});
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    // "x" is no answer; "Д" confirms the first candidate.
    QCOMPARE(driver.questions(), 1);
    QCOMPARE(memoLines(*w.form).mid(2, 3),
             QStringList({u("Диалог:"), u("Цвет красный (Д/Н)? [Д]"), u("Найдено решение:")}));
    QCOMPARE(treeOutline(*w.form2->Synt), QStringList({u("Яблоко:"), u("  Цвет красный")}));
    noMismatch(w);
  }

  void decompositionFillsTheTree() {
    WindowSet w;
    load(w, system_);
    AnswerDriver driver(*w.form, {"yes", "yes", "yes"});
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QCOMPARE(driver.questions(), 3);
    QCOMPARE(treeOutline(*w.form2->Synt),
             QStringList({u("Система:"), u("  Тип настольный"), u("  Блок P1:"),
                          u("    Частота 2000")}));
    QCOMPARE(memoLines(*w.form).mid(2),
             QStringList({u("Диалог:"), u("Тип настольный (Д/Н)? [Д]"),
                          u("Блок Процессор (Д/Н)? [Д]"), u("Частота 2000 (Д/Н)? [Д]"),
                          u("Найдено решение:"), u("   "), u("Реультаты отчета:"),
                          u("Система:"), u("[]"), u("Тип настольный"), u("Блок P1:"),
                          u(" P1:"), u("[]"), u(" Частота 2000"), u("    ")}));
    noMismatch(w);
  }

  void whyDuringQuestion() {
    WindowSet w;
    load(w, fruit_);
    AnswerDriver driver(*w.form, {"why", "no", "why", "yes"});
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QCOMPARE(driver.questions(), 2);
    // The explanation's closing CR opens no empty line: the answer tag
    // follows it on the last line, as the answer keys always append.
    QCOMPARE(memoLines(*w.form).mid(2, 5),
             QStringList({u("Диалог:"), u("Цвет красный (Д/Н)? "),
                          u("[Рассматривается: Яблоко][Н]"), u("Цвет желтый (Д/Н)? "),
                          u("[Рассматривается: Лимон][Д]")}));
    noMismatch(w);
  }

  void cancelEndsWithFailure_data() {
    QTest::addColumn<QString>("action");
    QTest::newRow("button") << u("cancel");
    QTest::newRow("key о") << u("key:о");
    QTest::newRow("key О") << u("key:О");
  }

  void cancelEndsWithFailure() {
    QFETCH(QString, action);
    WindowSet w;
    load(w, fruit_);
    // A successful run first, so that the report button was enabled.
    {
      AnswerDriver first(*w.form, {"yes"});
      QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
      QVERIFY(w.form->ReportKB->isEnabled());
    }
    const int linesBefore = static_cast<int>(memoLines(*w.form).size());
    AnswerDriver driver(*w.form, {action});
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QCOMPARE(driver.questions(), 1);
    QCOMPARE(memoLines(*w.form).mid(linesBefore),
             QStringList({u("Диалог:"), u("Цвет красный (Д/Н)? "), u("Решений не найдено.")}));
    QVERIFY(!w.form->ReportKB->isEnabled());
    QVERIFY(!w.form->Panel1->isVisible());
    QVERIFY(w.form->ToolBar1->isEnabled());
    noMismatch(w);
  }

  void reportShowsResultsWindow() {
    WindowSet w;
    load(w, fruit_);
    AnswerDriver driver(*w.form, {"yes"});
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QStringList shown;
    QString caption;
    w.dialogs.answerModal([&](QDialog& dialog) {
      caption = dialog.windowTitle();
      shown = treeOutline(*static_cast<TForm2&>(dialog).Synt);
      return int(QDialog::Accepted);
    });
    QTest::mouseClick(w.form->ReportKB, Qt::LeftButton);
    QCOMPARE(caption, u("Результаты синтеза"));
    QCOMPARE(shown, QStringList({u("Яблоко:"), u("  Цвет красный")}));
    noMismatch(w);
  }

  void clearPrintsNewBase() {
    WindowSet w;
    load(w, fruit_);
    QVERIFY(w.form->QueryKB->isEnabled());
    QTest::mouseClick(w.form->ClearKB, Qt::LeftButton);
    QCOMPARE(memoLines(*w.form).mid(2), QStringList({u("[Новая база знаний]"), u("   ")}));
    QVERIFY(!w.form->QueryKB->isEnabled());
    QVERIFY(w.form->KBase().Frames().empty());
    QCOMPARE(w.form->windowTitle(), kCaption);
    QCOMPARE(w.dialogs.calls().size(), size_t(1));  // only the open dialog: nothing asked
    noMismatch(w);
  }

  // Clear with unsaved changes: the question, then what each answer does.
  void clearWithUnsavedChanges_data() {
    QTest::addColumn<int>("reply");
    QTest::addColumn<int>("saveOutcome");  // 0 none, 1 saved, 2 dialog cancelled, 3 fails
    QTest::addColumn<bool>("cleared");
    QTest::newRow("cancel keeps everything") << int(Dialogs::Reply::Cancel) << 0 << false;
    QTest::newRow("no clears") << int(Dialogs::Reply::No) << 0 << true;
    QTest::newRow("yes saves, then clears") << int(Dialogs::Reply::Yes) << 1 << true;
    QTest::newRow("yes, save cancelled: stop") << int(Dialogs::Reply::Yes) << 2 << false;
    QTest::newRow("yes, save fails: stop") << int(Dialogs::Reply::Yes) << 3 << false;
  }

  void clearWithUnsavedChanges() {
    QFETCH(int, reply);
    QFETCH(int, saveOutcome);
    QFETCH(bool, cleared);
    WindowSet w;
    load(w, fruit_);
    w.form->KBase().Modified = true;
    const QString saved = dir_.filePath(QStringLiteral("clear-saved.dat"));
    QFile::remove(saved);
    prepareSave(w, Dialogs::Reply(reply), saveOutcome, saved);
    QTest::mouseClick(w.form->ClearKB, Qt::LeftButton);
    checkUnsavedQuestion(w);
    QStringList expected;
    if (saveOutcome == 1) expected << saveLine(saved) << u("   ");
    if (cleared) expected << u("[Новая база знаний]") << u("   ");
    QCOMPARE(memoLines(*w.form).mid(2), expected);
    QCOMPARE(w.form->KBase().Frames().empty(), cleared);
    QCOMPARE(w.form->QueryKB->isEnabled(), !cleared);
    QCOMPARE(QFile::exists(saved), saveOutcome == 1);
    noMismatch(w);
  }

  void loadWithUnsavedChanges_data() { clearWithUnsavedChanges_data(); }

  void loadWithUnsavedChanges() {
    QFETCH(int, reply);
    QFETCH(int, saveOutcome);
    QFETCH(bool, cleared);  // here: the new file is loaded
    WindowSet w;
    load(w, noTarget_);
    w.form->KBase().Modified = true;
    const QString saved = dir_.filePath(QStringLiteral("load-saved.dat"));
    QFile::remove(saved);
    prepareSave(w, Dialogs::Reply(reply), saveOutcome, saved);
    if (cleared) w.dialogs.answerOpenFile(system_);
    QTest::mouseClick(w.form->LoadKB, Qt::LeftButton);
    checkUnsavedQuestion(w);
    QStringList expected;
    if (saveOutcome == 1) expected << saveLine(saved) << u("   ");
    if (cleared) expected << loadLine(system_) << u("   ");
    QCOMPARE(memoLines(*w.form).mid(2), expected);
    QCOMPARE(w.form->windowTitle(), kCaption + (cleared ? u(" - ПК") : u(" - Сад")));
    QCOMPARE(w.form->QueryKB->isEnabled(), cleared);
    QCOMPARE(w.form->KBase().Modified, !cleared);
    noMismatch(w);
  }

  void saveLineOnlyAfterSuccess() {
    WindowSet w;
    load(w, fruit_);
    w.form->KBase().Modified = true;
    const QString bad = dir_.filePath(QStringLiteral("no-such-folder/x.dat"));
    w.dialogs.answerSaveFile(bad);
    QTest::mouseClick(w.form->SaveKB, Qt::LeftButton);
    QCOMPARE(memoLines(*w.form).size(), qsizetype(2));  // no save line
    QCOMPARE(w.dialogs.calls().back().kind, ScriptedDialogs::Kind::Error);
    QCOMPARE(w.dialogs.calls().back().text,
             u("Невозможно сохранить файл!\n") + bad + u(": нет такого файла или папки"));
    QVERIFY(w.form->KBase().Modified);

    const QString good = dir_.filePath(QStringLiteral("saved.dat"));
    w.dialogs.answerSaveFile(good);
    QTest::mouseClick(w.form->SaveKB, Qt::LeftButton);
    QCOMPARE(memoLines(*w.form).mid(2), QStringList({saveLine(good), u("   ")}));
    QVERIFY(!w.form->KBase().Modified);
    QVERIFY(QFile::exists(good));
    const auto& call = w.dialogs.calls()[w.dialogs.calls().size() - 1];
    QCOMPARE(call.kind, ScriptedDialogs::Kind::SaveFile);
    QCOMPARE(call.caption, u("Select a file to save to"));
    QCOMPARE(call.text, u("Сад"));
    QCOMPARE(call.filters, QStringList({u("Knowledge base files *.dat (*.dat)"),
                                        u("Text file *.txt (*.txt)")}));
    QCOMPARE(call.defaultSuffix, u("dat"));
    noMismatch(w);
  }

  void closeWithUnsavedChangesAsksOnce() {
    WindowSet w;
    load(w, fruit_);
    w.form->KBase().Modified = true;
    const QString saved = dir_.filePath(QStringLiteral("closing.dat"));
    w.dialogs.answerWarning(Dialogs::Reply::Yes);
    w.dialogs.answerSaveFile(saved);
    QTest::mouseClick(w.form->ExitKB, Qt::LeftButton);
    QVERIFY(!w.form->isVisible());
    int warnings = 0;
    for (const auto& c : w.dialogs.calls())
      if (c.kind == ScriptedDialogs::Kind::Warning) {
        ++warnings;
        QVERIFY(!c.withCancel);
        QCOMPARE(c.text, u("Изменения в базе знаний не сохранены!\nСохранить?"));
      }
    QCOMPARE(warnings, 1);
    QCOMPARE(w.dialogs.calls().back().kind, ScriptedDialogs::Kind::SaveFile);
    QCOMPARE(w.dialogs.calls().back().text, u("Сад"));
    QVERIFY(QFile::exists(saved));
    noMismatch(w);
  }

  void closeWithoutChangesAsksNothing() {
    WindowSet w;
    load(w, fruit_);
    w.form->close();
    QVERIFY(!w.form->isVisible());
    QCOMPARE(w.dialogs.calls().size(), size_t(1));
    noMismatch(w);
  }

  // Closing ends the consultation although a question was waiting.
  void closeWhileQuestionWaits() {
    WindowSet w;
    load(w, fruit_);
    AnswerDriver driver(*w.form, {"close"});
    // The click returns only once the consultation has ended; then no
    // window is left open, which ends the program's event loop.
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    for (QWidget* top : QApplication::topLevelWidgets())
      QVERIFY2(!top->isVisible(), qPrintable(top->objectName()));
    QCOMPARE(driver.questions(), 1);
    QVERIFY(!w.form->isVisible());
    QVERIFY(!w.form->Waiting());
    QVERIFY(!w.form->ConsultEngine().Running());
    QCOMPARE(memoLines(*w.form).mid(2),
             QStringList({u("Диалог:"), u("Цвет красный (Д/Н)? "), u("Решений не найдено.")}));
    noMismatch(w);
  }

  // The base stays in place while a consultation reads it.
  void clearAndLoadWaitForTheConsultation() {
    WindowSet w;
    load(w, fruit_);
    w.form->KBase().Modified = true;
    AnswerDriver driver(*w.form, {"clear", "load", "no", "yes"});
    QTest::mouseClick(w.form->QueryKB, Qt::LeftButton);
    QCOMPARE(driver.questions(), 2);
    QVERIFY(driver.left().isEmpty());
    QCOMPARE(memoLines(*w.form).mid(2), fruitDialog(u("[Н]"), u("[Д]")));
    QCOMPARE(w.dialogs.calls().size(), size_t(1));  // nothing asked, no open dialog
    QVERIFY(!w.form->KBase().Frames().empty());
    noMismatch(w);
  }

  void typedAnswerOutsideConsultation() {
    WindowSet w;
    load(w, fruit_);
    typeCharacter(w.form->Memo1, QChar(0x0434));  // д
    QCOMPARE(memoLines(*w.form).last(), u("   [Д]"));
    typeCharacter(w.form->Memo1, QLatin1Char('q'));
    QCOMPARE(memoLines(*w.form).last(), u("   [Д]"));
  }

  void editDoesNothingVisibleWithoutEditor() {
    WindowSet w;
    QTest::mouseClick(w.form->EditKB, Qt::LeftButton);
    QCOMPARE(w.form->Memo1->toPlainText(), QString());
    QVERIFY(w.dialogs.calls().empty());
  }

 private:
  // Prepares the answers of the unsaved-changes question and the save that
  // Yes starts.
  void prepareSave(WindowSet& w, Dialogs::Reply reply, int saveOutcome, const QString& saved) {
    w.dialogs.answerWarning(reply);
    if (saveOutcome == 1) w.dialogs.answerSaveFile(saved);
    if (saveOutcome == 2) w.dialogs.answerSaveFile(std::nullopt);
    if (saveOutcome == 3) w.dialogs.answerSaveFile(dir_.filePath(QStringLiteral("none/x.dat")));
  }

  void checkUnsavedQuestion(const WindowSet& w) {
    QVERIFY(w.dialogs.calls().size() >= 2);
    const auto& ask = w.dialogs.calls()[1];
    QCOMPARE(ask.kind, ScriptedDialogs::Kind::Warning);
    QCOMPARE(ask.text, u("Изменения в базе знаний не сохранены!\nСохранить?"));
    QVERIFY(ask.withCancel);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
