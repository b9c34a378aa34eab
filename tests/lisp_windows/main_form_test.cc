// The main window: every menu item's effect (file dialogs scripted), the
// preferences, docking and floating the terminal with the heights, the
// frame notifications and the browser link, and the exit rules.
#include "pref_dialog.h"
#include "velloq_driver.h"

#include <QFile>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

namespace {

int callsOf(const ScriptedDialogs& dialogs, ScriptedDialogs::Kind kind) {
  int n = 0;
  for (const auto& call : dialogs.calls()) n += call.kind == kind;
  return n;
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

}  // namespace

class MainFormTest : public QObject {
  Q_OBJECT

 private slots:
  void menusHoldEveryItemWithItsShortcut() {
    Environment env;
    TMainForm& f = *env.form;
    struct Item { QAction* action; const char* caption; const char* key; };
    const Item items[] = {
        {f.PerformLispFileAction, "Perform &lisp file", "Ctrl+L"},
        {f.RestoreAction, "&Restore", ""},
        {f.SaveAllAction, "&Save all", "Ctrl+S"},
        {f.PreferencesAction, "&Preferences...", "Ctrl+Alt+P"},
        {f.ExitAction, "E&xit", ""},
        {f.NewProjectAction, "&New project", ""},
        {f.LoadProjectAction, "&Load project", ""},
        {f.SaveProjectAction, "&Save project", ""},
        {f.TerminalAction, "&Terminal", "Ctrl+T"},
        {f.ProjectAction, "&Project", "Ctrl+P"},
        {f.HierarchyAction, "&Hierarchy", "Ctrl+H"},
        {f.FrameAction, "&Frame", "Ctrl+F"},
        {f.ToolbarAction, "&Toolbar", ""},
        {f.StatusbarAction, "&Statusbar", ""},
        {f.AboutAction, "&About", ""},
    };
    for (const Item& item : items) {
      QCOMPARE(item.action->text(), QString::fromLatin1(item.caption));
      QCOMPARE(item.action->shortcut().toString(), QString::fromLatin1(item.key));
    }
    QCOMPARE(f.FileMenu->title(), QStringLiteral("File"));
    QCOMPARE(f.ProjectMenu->title(), QStringLiteral("Project"));
    QCOMPARE(f.ViewMenu->title(), QStringLiteral("View"));
    QVERIFY(f.TerminalAction->isChecked());
    QVERIFY(f.HierarchyAction->isChecked());
    QVERIFY(!f.ProjectAction->isChecked());
    QVERIFY(!f.ToolBar1->actions().isEmpty());
  }

  void performLispFileLoadsTheChosenFile() {
    Environment env;
    const QString file = env.path(QStringLiteral("with \"quote\".lsp"));
    writeFile(file, "(setq loaded-value 17)\n");
    env.dialogs.answerOpenFile(file);
    env.form->PerformLispFileAction->trigger();
    const auto& call = env.dialogs.calls().back();
    QCOMPARE(call.caption, QStringLiteral("Select a lisp file to perform"));
    QCOMPARE(call.filters.size(), 3);
    QVERIFY(call.filters[0].contains(QStringLiteral("*.lsp *.l")));
    QCOMPARE(env.count(QStringLiteral("T")), 1);  // LOAD's value
    env.type(QStringLiteral("loaded-value"));
    QCOMPARE(env.count(QStringLiteral("17")), 1);
    // Cancelled: nothing runs.
    const int lines = static_cast<int>(env.lines().size());
    env.dialogs.answerOpenFile(std::nullopt);
    env.form->PerformLispFileAction->trigger();
    QCOMPARE(static_cast<int>(env.lines().size()), lines);
  }

  void saveAllAndRestoreRunTheDatabaseCommands() {
    Environment env;
    env.type(QStringLiteral("(addframe 'pet)"));
    env.type(QStringLiteral("(addslot pet 'database)"));
    env.type(QStringLiteral("(setslotvalue pet 'database \"pets.db\")"));
    env.form->SaveAllAction->trigger();
    QVERIFY(env.count(QStringLiteral("; saving database")) == 1);
    QVERIFY(QFile::exists(env.path(QStringLiteral("pets.db"))));
    QVERIFY(QFile::exists(env.path(QStringLiteral("databases.dat"))));
    env.type(QStringLiteral("(delframe 'pet)"));
    QVERIFY(!env.form->frameNames().names().count("PET"));
    env.form->RestoreAction->trigger();
    QVERIFY(env.form->frameNames().names().count("PET"));
  }

  void projectsAreSavedAndLoadedAsListFiles() {
    Environment env;
    FakeBrowser browser;
    env.form->setBrowserHost(&browser);
    env.type(QStringLiteral("(addframe 'tool)"));
    env.type(QStringLiteral("(addslot tool 'database)"));
    env.type(QStringLiteral("(setslotvalue tool 'database \"tools.db\")"));
    const QString project = env.path(QStringLiteral("work.vqr"));
    env.dialogs.answerSaveFile(project);
    env.form->SaveProjectAction->trigger();
    QFile list(project);
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(list.readAll(), QByteArray("tools.db\n"));
    env.type(QStringLiteral("(delframe 'tool)"));
    env.dialogs.answerOpenFile(project);
    env.form->LoadProjectAction->trigger();
    QCOMPARE(env.dialogs.calls().back().filters.first(), QStringLiteral("Velloq project (*.vqr)"));
    QVERIFY(env.form->frameNames().names().count("TOOL"));
    QVERIFY(browser.calls.contains(QStringLiteral("project 1")));
    browser.calls.clear();
    env.form->NewProjectAction->trigger();
    QCOMPARE(browser.calls, QStringList{QStringLiteral("new project")});
  }

  void viewItemsDriveTheBrowserWindows() {
    Environment env;
    FakeBrowser browser;
    env.form->setBrowserHost(&browser);
    QCOMPARE(browser.connectedTo, env.form.get());
    QVERIFY(browser.hierarchy);  // ticked at start
    env.form->HierarchyAction->trigger();
    QVERIFY(!browser.hierarchy);
    env.form->ProjectAction->trigger();
    QVERIFY(browser.project);
    env.form->FrameAction->trigger();
    QCOMPARE(browser.calls.back(), QStringLiteral("viewer "));
  }

  void terminalTickShowsAndClosesTheTerminal() {
    Environment env;
    env.form->TerminalAction->trigger();
    QVERIFY(!env.terminal->isVisible());
    QVERIFY(!env.form->TerminalAction->isChecked());
    env.form->TerminalAction->trigger();
    QVERIFY(env.terminal->isVisible());
    // Closing the terminal itself clears the tick.
    env.terminal->close();
    QVERIFY(!env.form->TerminalAction->isChecked());
  }

  void toolbarAndStatusbarAreNotImplemented() {
    Environment env;
    for (QAction* action : {env.form->ToolbarAction, env.form->StatusbarAction}) {
      env.dialogs.forget();
      action->trigger();
      QCOMPARE(env.dialogs.calls().size(), size_t(1));
      QCOMPARE(env.dialogs.calls()[0].caption, QStringLiteral("Message"));
      QCOMPARE(env.dialogs.calls()[0].text, QStringLiteral("Sorry, not implemented yet!"));
    }
  }

  void aboutNamesTheVersionAndLicence() {
    Environment env;
    env.dialogs.forget();
    env.form->AboutAction->trigger();
    QCOMPARE(callsOf(env.dialogs, ScriptedDialogs::Kind::About), 1);
    const QString text = env.dialogs.calls()[0].text;
    QVERIFY(text.contains(QStringLiteral("Velloq 1.0")));
    QVERIFY(text.contains(QStringLiteral("MIT licence")));
  }

  void preferencesKeepValuesInRangeAndApplyThem() {
    Environment env;
    env.dialogs.answerModal([](QDialog& dialog) {
      auto& pref = dynamic_cast<Tpref&>(dialog);
      pref.MaxStoredLines->selectAll();
      QTest::keyClicks(pref.MaxStoredLines, QStringLiteral("5000"));
      pref.MaxStoredInput->selectAll();
      QTest::keyClicks(pref.MaxStoredInput, QStringLiteral("1"));
      pref.MaxStoredInput->interpretText();
      pref.UseLog->setChecked(false);
      pref.StartupDb->setText(QStringLiteral("mine.dat"));
      QTest::mouseClick(pref.OkButton, Qt::LeftButton);
      return pref.result();
    });
    env.form->PreferencesAction->trigger();
    const velloq_ui::Settings& s = env.terminal->session().settings();
    QVERIFY(s.max_stored_lines >= 100 && s.max_stored_lines <= 800);
    QVERIFY(s.max_stored_input >= 3 && s.max_stored_input <= 100);
    QVERIFY(!s.use_log);
    QCOMPARE(QString::fromStdString(s.startup_db), QStringLiteral("mine.dat"));
    QCOMPARE(env.terminal->Output->maximumBlockCount(), s.max_stored_lines + 1);
    QVERIFY(!env.terminal->session().log()->enabled());
    // The dialog shows what the settings file could not hold clamped.
    Tpref pref;
    velloq_ui::Settings wild;
    wild.max_stored_lines = 50;
    wild.max_stored_input = 500;
    pref.fill(wild);
    QCOMPARE(pref.values().max_stored_lines, 100);
    QCOMPARE(pref.values().max_stored_input, 100);
    // Cancel changes nothing.
    env.dialogs.answerModal([](QDialog& dialog) {
      auto& p = dynamic_cast<Tpref&>(dialog);
      p.UseLog->setChecked(true);
      QTest::mouseClick(p.CancelButton, Qt::LeftButton);
      return p.result();
    });
    env.form->PreferencesAction->trigger();
    QVERIFY(!env.terminal->session().settings().use_log);
  }

  void floatingAndDockingTheTerminalSetTheHeights() {
    Environment env;
    TMainForm& f = *env.form;
    const int bar = f.barHeight();
    QVERIFY(f.height() >= bar + 130);
    QCOMPARE(f.minimumHeight(), bar + 130);
    const int docked = env.terminal->height();
    env.terminal->setFloating(true);
    QCOMPARE(f.rememberedTerminalHeight(), docked);
    QCOMPARE(f.height(), bar);
    QCOMPARE(f.maximumHeight(), bar);
    env.terminal->setFloating(false);
    QCOMPARE(f.height(), bar + docked);
    QCOMPARE(f.minimumHeight(), bar + 130);
    // Closed and shown again: the same rules.
    f.TerminalAction->trigger();
    QCOMPARE(f.height(), bar);
    f.TerminalAction->trigger();
    QCOMPARE(f.height(), bar + docked);
  }

  void frameChangesAreSignalled() {
    Environment env;
    QSignalSpy added(env.form.get(), &TMainForm::frameAdded);
    QSignalSpy removed(env.form.get(), &TMainForm::frameRemoved);
    QSignalSpy parent(env.form.get(), &TMainForm::parentChanged);
    QSignalSpy ended(env.form.get(), &TMainForm::endBusy);
    env.type(QStringLiteral("(addframe 'animal)"));
    env.type(QStringLiteral("(addframe 'cat)"));
    env.type(QStringLiteral("(setparents cat animal)"));
    env.type(QStringLiteral("(delframe 'cat)"));
    QCOMPARE(added.size(), 2);
    QCOMPARE(added[1][0].toString(), QStringLiteral("CAT"));
    QVERIFY(parent.size() >= 1);
    QCOMPARE(parent.last()[0].toString(), QStringLiteral("CAT"));
    QCOMPARE(parent.last()[1].toString(), QStringLiteral("ANIMAL"));
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed[0][0].toString(), QStringLiteral("CAT"));
    QCOMPARE(ended.size(), 4);
    QVERIFY(env.form->frameNames().names().count("ANIMAL"));
    QVERIFY(!env.form->frameNames().names().count("CAT"));
  }

  void runLispIsRefusedWhileBusy() {
    Environment env;
    int ranInside = -1;
    QTimer::singleShot(0, env.form.get(), [&] {
      QVERIFY(env.form->busy());
      const int before = static_cast<int>(env.lines().size());
      env.form->run_lisp("(print 'inside)\n");
      ranInside = static_cast<int>(env.lines().size()) - before;
      QTest::keyClick(env.terminal->Input, Qt::Key_Escape);
    });
    env.type(QStringLiteral("(loop)"));
    QCOMPARE(ranInside, 0);
    QCOMPARE(env.count(QStringLiteral("INSIDE")), 0);
  }

  void clickingAnErrorNamingAFrameOpensItsViewer() {
    Environment env;
    FakeBrowser browser;
    env.form->setBrowserHost(&browser);
    env.type(QStringLiteral("(addframe 'engine)"));
    env.type(QStringLiteral("(error \"broken part\" 'engine)"));
    env.type(QStringLiteral("(error \"no frame here\" 'wheel)"));
    QPlainTextEdit* pane = env.terminal->Output;
    auto clickLine = [&](const QString& text) {
      const int n = static_cast<int>(env.lines().indexOf(text));
      QTextCursor at(pane->document()->findBlockByNumber(n));
      QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, pane->cursorRect(at).center());
    };
    browser.calls.clear();
    clickLine(QStringLiteral("error: broken part - ENGINE"));
    QCOMPARE(browser.calls, QStringList{QStringLiteral("viewer ENGINE")});
    clickLine(QStringLiteral("error: no frame here - WHEEL"));
    clickLine(QStringLiteral("\u2022 (addframe 'engine)"));  // not an error line
    QCOMPARE(browser.calls.size(), 1);
  }

  void closingWhileBusyBreaksFirstThenCloses() {
    Environment env(QStringLiteral("LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     TRUE\n"
                                   "ALLOW_ERROR_MESSAGES        FALSE\n"));
    bool visibleAfterClose = false;
    QTimer::singleShot(0, env.form.get(), [&] {
      env.form->close();
      visibleAfterClose = env.form->isVisible();
    });
    env.type(QStringLiteral("(loop)"));
    QVERIFY(visibleAfterClose);
    QCOMPARE(env.count(QStringLiteral("*User-Break*")), 1);
    QTRY_VERIFY(!env.form->isVisible());
    QCOMPARE(env.count(QStringLiteral("; saving database")), 1);
    QVERIFY(!env.terminal->running());
    QVERIFY(QFile::exists(env.path(QStringLiteral("velloq.ini"))));
  }

  void aFailedSaveAtExitLetsTheUserStay() {
    Environment env(QStringLiteral("LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     TRUE\n"
                                   "ALLOW_ERROR_MESSAGES        FALSE\nSTARTUP_DB  no/such/dir/list.dat\n"));
    env.dialogs.answerWarning(Dialogs::Reply::No);
    env.form->close();
    QVERIFY(env.form->isVisible());
    QVERIFY(env.terminal->running());
    QCOMPARE(callsOf(env.dialogs, ScriptedDialogs::Kind::Warning), 1);
    env.dialogs.answerWarning(Dialogs::Reply::Yes);
    env.form->close();
    QVERIFY(!env.form->isVisible());
    QVERIFY(!env.terminal->running());
    QVERIFY(env.dialogs.mismatches().isEmpty());
  }

  void settingsAreWrittenAtExit() {
    Environment env;
    env.closeWindow();
    QFile ini(env.path(QStringLiteral("velloq.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll();
    QVERIFY(text.startsWith("USELOG      TRUE\n"));
    QVERIFY(text.contains("ALLOW_ERROR_MESSAGES        FALSE\n"));
    QFile log(env.path(QStringLiteral("VELLOQ.LOG")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("[Log off. Date: "));
  }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
