// The main window as a keyboard and desktop user meets it: answers by key
// on any layout, the menu bar and its shortcuts, the window following its
// newest output, icons, the results tree's long lines and the splash that
// gives way to a click or a key.
#include "editor_link.h"
#include "splash_window.h"
#include "test_kbases.h"
#include "window_driver.h"

#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class ShowRecorder : public EditorLink {
 public:
  void DropSelection() override {}
  void RefreshEditor() override {}
  void ShowEditor() override { ++shown; }
  int shown = 0;
};

// The fruit consultation's lines after the load lines, answered No, then Yes.
const QStringList kNoThenYes = {u("Диалог:"),         u("Цвет красный (Д/Н)? [Н]"),
                                u("Цвет желтый (Д/Н)? [Д]"), u("Найдено решение:"),
                                u("   "),               u("Реультаты отчета:"),
                                u("Лимон:"),            u("[]"),
                                u("Цвет желтый"),       u("    ")};

// One way of giving a command.
enum class Way { ToolButton, Menu, Shortcut };

}  // namespace

class DesktopTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString fruit_;

  void loadFruit(WindowSet& w) {
    w.dialogs.answerOpenFile(fruit_);
    w.form->LoadKBClick();
    QVERIFY(w.form->QueryKB->isEnabled());
    w.dialogs.forget();
  }

  void activate(WindowSet& w) {
    w.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    fruit_ = dir_.filePath(QStringLiteral("fruit.dat"));
    writeFruitBase(fruit_);
    qApp->setQuitOnLastWindowClosed(false);
  }

  void answersByKeyboard_data() {
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("n, y") << QStringList{"key:n", "key:y"} << kNoThenYes;
    QTest::newRow("N, Y") << QStringList{"key:N", "key:Y"} << kNoThenYes;
    // Memo1 has the focus after each question: Tab walks Why, Cancel, Yes, No.
    QTest::newRow("Enter on the focused button")
        << QStringList{"press:Tab", "press:Tab", "press:Tab", "press:Tab", "press:Return",
                       "press:Tab", "press:Tab", "press:Tab", "press:Return"}
        << kNoThenYes;
    QTest::newRow("Escape cancels")
        << QStringList{"press:Escape"}
        << QStringList{u("Диалог:"), u("Цвет красный (Д/Н)? "), u("Решений не найдено.")};
    QTest::newRow("F1 and ? ask why")
        << QStringList{"press:F1", "key:n", "key:?", "key:y"}
        << QStringList{u("Диалог:"), u("Цвет красный (Д/Н)? "),
                       u("[Рассматривается: Яблоко][Н]"), u("Цвет желтый (Д/Н)? "),
                       u("[Рассматривается: Лимон][Д]"), u("Найдено решение:")};
  }

  void answersByKeyboard() {
    QFETCH(QStringList, actions);
    QFETCH(QStringList, lines);
    WindowSet w;
    activate(w);
    loadFruit(w);
    AnswerDriver driver(*w.form, actions);
    QTest::keyClick(w.form.get(), Qt::Key_F5);
    QVERIFY(driver.left().isEmpty());
    QCOMPARE(memoLines(*w.form).mid(2, lines.size()), lines);
  }

  void answerButtonsTakeFocus() {
    WindowSet w;
    for (QPushButton* b : {w.form->Why, w.form->Cancel, w.form->Yes, w.form->No})
      QCOMPARE(b->focusPolicy(), Qt::StrongFocus);
  }

  // Outside a question the Latin letters do nothing; the Cyrillic ones keep
  // their meaning in Memo1.
  void latinKeysOnlyWhileAQuestionWaits() {
    WindowSet w;
    loadFruit(w);
    const QString before = w.form->Memo1->toPlainText();
    for (QChar c : {QChar('y'), QChar('N'), QChar('?')}) typeCharacter(w.form->Memo1, c);
    QTest::keyClick(w.form->Memo1, Qt::Key_Escape);
    QCOMPARE(w.form->Memo1->toPlainText(), before);
    QVERIFY(!w.form->Cancelled);
  }

  // Every command reaches the same handler by its tool button, its menu
  // entry and its shortcut; the button and the menu share one QAction.
  void commandsByEveryWay_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("way");
    for (const char* command : {"clear", "load", "save", "edit", "query", "report", "exit"})
      for (Way way : {Way::ToolButton, Way::Menu, Way::Shortcut})
        QTest::addRow("%s %d", command, int(way)) << QString::fromLatin1(command) << int(way);
  }

  void commandsByEveryWay() {
    QFETCH(QString, command);
    QFETCH(int, way);
    struct Command {
      QToolButton* button;
      QAction* action;
      QMenu* menu;
      QKeySequence keys;
    };
    WindowSet w;
    ShowRecorder editor;
    w.form->setEditor(&editor);
    activate(w);
    loadFruit(w);
    TForm1& f = *w.form;
    const QHash<QString, Command> commands = {
        {"clear", {f.ClearKB, f.ClearAction, f.FileMenu, QKeySequence(Qt::CTRL | Qt::Key_N)}},
        {"load", {f.LoadKB, f.LoadAction, f.FileMenu, QKeySequence(Qt::CTRL | Qt::Key_O)}},
        {"save", {f.SaveKB, f.SaveAction, f.FileMenu, QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {"exit", {f.ExitKB, f.ExitAction, f.FileMenu, QKeySequence(Qt::CTRL | Qt::Key_Q)}},
        {"edit", {f.EditKB, f.EditAction, f.BaseMenu, QKeySequence(Qt::CTRL | Qt::Key_E)}},
        {"query", {f.QueryKB, f.QueryAction, f.BaseMenu, QKeySequence(Qt::Key_F5)}},
        {"report", {f.ReportKB, f.ReportAction, f.BaseMenu, QKeySequence(Qt::CTRL | Qt::Key_R)}}};
    const Command c = commands.value(command);
    QCOMPARE(c.button->defaultAction(), c.action);
    QVERIFY(c.menu->actions().contains(c.action));
    QCOMPARE(c.action->shortcut(), c.keys);

    AnswerDriver driver(f, {"yes"});
    if (command == "report") {
      f.QueryKBClick();  // a successful run enables the report
      w.dialogs.answerModal([](QDialog&) { return int(QDialog::Accepted); });
    }
    if (command == "load") w.dialogs.answerOpenFile(std::nullopt);
    if (command == "save") w.dialogs.answerSaveFile(std::nullopt);
    const int questionsBefore = driver.questions();
    switch (Way(way)) {
      case Way::ToolButton: QTest::mouseClick(c.button, Qt::LeftButton); break;
      case Way::Menu: c.action->trigger(); break;
      case Way::Shortcut: QTest::keySequence(&f, c.keys); break;
    }

    const auto& calls = w.dialogs.calls();
    if (command == "clear") QCOMPARE(memoLines(f).mid(2, 1), QStringList{u("[Новая база знаний]")});
    if (command == "load") QCOMPARE(calls.back().kind, ScriptedDialogs::Kind::OpenFile);
    if (command == "save") QCOMPARE(calls.back().kind, ScriptedDialogs::Kind::SaveFile);
    if (command == "report") QCOMPARE(calls.back().kind, ScriptedDialogs::Kind::Modal);
    if (command == "edit") QCOMPARE(editor.shown, 1);
    if (command == "query") QCOMPARE(driver.questions(), questionsBefore + 1);
    if (command == "exit") QVERIFY(!f.isVisible());
    QCOMPARE(w.dialogs.pending(), 0);
    f.setEditor(nullptr);
  }

  // While a question waits the commands rest with the tool bar; afterwards
  // each returns to its own state.
  void commandsRestDuringAConsultation() {
    WindowSet w;
    loadFruit(w);
    QList<bool> during;
    QObject probe;
    connect(w.form.get(), &TForm1::questionWaiting, &probe, [&] {
      during << w.form->ClearAction->isEnabled() << w.form->QueryAction->isEnabled()
             << w.form->menuBar()->isEnabled();
    });
    AnswerDriver driver(*w.form, {"cancel"});
    w.form->QueryAction->trigger();
    QCOMPARE(during, QList<bool>({false, false, false}));
    QVERIFY(w.form->ClearAction->isEnabled());
    QVERIFY(w.form->QueryAction->isEnabled());
    QVERIFY(!w.form->ReportAction->isEnabled());  // the run was cancelled
  }

  void aboutNamesProgramVersionAndLicence() {
    WindowSet w;
    w.form->AboutAction->trigger();
    QCOMPARE(w.dialogs.calls().size(), size_t(1));
    const auto& call = w.dialogs.calls()[0];
    QCOMPARE(call.kind, ScriptedDialogs::Kind::About);
    QCOMPARE(call.caption, u("О программе"));
    QVERIFY(call.text.contains(u("KV7 Quillon v2.0")));
    QVERIFY(call.text.contains(u("лиценз")));
    QVERIFY(w.form->HelpMenu->actions().contains(w.form->AboutAction));
  }

  void windowDecorations() {
    WindowSet w;
    QVERIFY(w.form->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(!w.form->windowIcon().isNull());
    QVERIFY(!w.form2->windowIcon().isNull());
    const QStringList menus = {u("&Файл"), u("&База"), u("&Справка")};
    QStringList shown;
    for (QAction* a : w.form->menuBar()->actions()) shown << a->text();
    QCOMPARE(shown, menus);
  }

  // A window that shows its last line keeps showing it when it shrinks.
  void followsTheNewestOutputWhenShrunk() {
    WindowSet w;
    for (int i = 0; i < 200; ++i) w.form->PrintLine("line " + std::to_string(i));
    QScrollBar* bar = w.form->Memo1->verticalScrollBar();
    QCOMPARE(bar->value(), bar->maximum());
    const int before = bar->maximum();
    w.form->resize(460, 310);
    QTRY_VERIFY(bar->maximum() > before);
    QCOMPARE(bar->value(), bar->maximum());
    // Scrolled back by the user, the window stays where it was put.
    bar->setValue(0);
    w.form->resize(626, 475);
    QTRY_COMPARE(bar->maximum(), before);
    QCOMPARE(bar->value(), 0);
  }

  void resultsTreeScrollsAndShowsWholeLines() {
    WindowSet w;
    loadFruit(w);
    AnswerDriver driver(*w.form, {"yes"});
    w.form->QueryKBClick();
    QCOMPARE(w.form2->Synt->header()->sectionResizeMode(0), QHeaderView::ResizeToContents);
    QCOMPARE(w.form2->Synt->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QTreeWidgetItem* child = w.form2->Synt->topLevelItem(0)->child(0);
    QCOMPARE(child->toolTip(0), u("Цвет красный"));
  }

  void splashGivesWayToAClickOrAKey() {
    for (bool click : {true, false}) {
      TSplash splash;
      splash.show();
      QVERIFY(QTest::qWaitForWindowExposed(&splash));
      if (click) QTest::mouseClick(&splash, Qt::LeftButton);
      else QTest::keyClick(&splash, Qt::Key_Space);
      QVERIFY(!splash.isVisible());
    }
  }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
