// The main window's commands: every one that touches the interpreter runs
// Lisp text through the terminal, as if typed.
// The database list file's name is all this file needs of the frame
// system; its header comes before Qt's, whose "slots" macro it would meet.
#include "databases.h"

#include "main_form.h"

#include "cp1251.h"
#include "pref_dialog.h"
#include "qt_text.h"
#include "terminal_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QRegularExpression>

namespace {

const FileDialogSpec kLispFileDialog{
    QStringLiteral("Select a lisp file to perform"),
    {{QStringLiteral("Lisp files"), QStringLiteral("*.lsp *.l")},
     {QStringLiteral("Databases"), QStringLiteral("*.dat *.kb")},
     {QStringLiteral("All files"), QStringLiteral("*")}},
    QString()};

FileDialogSpec projectDialog(const QString& title) {
  return {title,
          {{QStringLiteral("Velloq project"), QStringLiteral("*.vqr")},
           {QStringLiteral("All files"), QStringLiteral("*")}},
          QStringLiteral("vqr")};
}

// A Lisp string literal of the file name's bytes, as the operating system
// takes them: backslashes doubled, quotes escaped.
std::string lispString(const QString& fileName) {
  std::string bytes = QFile::encodeName(fileName).toStdString();
  std::string literal = "\"";
  for (char c : bytes) {
    if (c == '\\' || c == '"') literal += '\\';
    literal += c;
  }
  return literal + "\"";
}

}  // namespace

void TMainForm::run_lisp(const std::string& text) { Form1->runText(text); }

bool TMainForm::busy() const { return Form1->busy(); }

void TMainForm::afterBusy() {
  BreakAction->setEnabled(false);
  emit endBusy();
  if (closeAfterBusy_) {
    closeAfterBusy_ = false;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
}

void TMainForm::PerformLispFileClick() {
  if (busy()) return;
  const std::optional<QString> file = dialogs_.chooseOpenFile(this, kLispFileDialog);
  if (!file) return;
  run_lisp("(LOAD " + lispString(*file) + ")");
}

void TMainForm::RestoreClick() { run_lisp("(RESTORE)\n"); }

void TMainForm::SaveAllClick() { run_lisp("(SAVE)\n"); }

void TMainForm::PreferencesClick() {
  Tpref dialog(this);
  dialog.fill(Form1->session().settings());
  if (dialogs_.runModal(dialog) != QDialog::Accepted) return;
  const velloq_ui::Settings settings = dialog.values();
  Form1->session().apply_settings(settings);
  Form1->applySettings(settings);
}

void TMainForm::ExitClick() { close(); }

void TMainForm::NewProjectClick() {
  if (busy()) return;
  run_lisp("(RESTORE)\n");
  if (browser_) browser_->newProject();
}

// A project file has the form of the database list file: loading one makes
// it the list that RESTORE reads and SAVE writes.
void TMainForm::LoadProjectClick() {
  if (busy()) return;
  const auto file = dialogs_.chooseOpenFile(this, projectDialog(QStringLiteral("Load project")));
  if (!file) return;
  velloq::set_database_list_file(QFile::encodeName(*file).constData());
  run_lisp("(RESTORE)\n");
  if (browser_) browser_->showProject(true);
}

void TMainForm::SaveProjectClick() {
  if (busy()) return;
  const auto file = dialogs_.chooseSaveFile(this, projectDialog(QStringLiteral("Save project")),
                                            QString::fromLocal8Bit(velloq::database_list_file()));
  if (!file) return;
  velloq::set_database_list_file(QFile::encodeName(*file).constData());
  run_lisp("(SAVE)\n");
}

void TMainForm::TerminalClick(bool checked) {
  Form1->setVisible(checked);
  if (checked && !Form1->isFloating()) growForTerminal();
}

void TMainForm::ProjectClick(bool checked) {
  if (browser_) browser_->showProject(checked);
}

void TMainForm::HierarchyClick(bool checked) {
  if (browser_) browser_->showHierarchy(checked);
}

void TMainForm::FrameClick() {
  if (browser_) browser_->openFrameViewer(QString());
}

void TMainForm::ToolbarClick() {
  dialogs_.showAbout(this, QStringLiteral("Message"), QStringLiteral("Sorry, not implemented yet!"));
}

void TMainForm::StatusbarClick() { ToolbarClick(); }

void TMainForm::AboutClick() {
  const QString name = QString::fromLatin1(velloq_ui::kVelloqName);
  dialogs_.showAbout(
      this, QStringLiteral("About ") + name,
      QStringLiteral("%1 %2\nA Lisp environment with frames.\n"
                     "A teaching suite on knowledge-based systems.\n"
                     "Free software, distributed under the MIT licence.")
          .arg(name, QString::fromLatin1(velloq_ui::kVelloqVersion)));
}

void TMainForm::BreakClick() {
  if (busy()) Form1->requestBreak();
}

// The first frame name in the value an error line shows (after " - "),
// opened in a frame viewer.  The message's own words do not count: "frame"
// in a message is no reference to the frame FRAME.
void TMainForm::openErrorFrame(const QString& line) {
  if (!browser_ || busy()) return;
  const qsizetype dash = line.indexOf(QStringLiteral(" - "));
  if (dash < 0) return;
  static const QRegularExpression separators(QStringLiteral("[\\s()'\"#<>:,;`\\[\\]]+"));
  for (const QString& word : line.mid(dash + 3).split(separators, Qt::SkipEmptyParts)) {
    const std::string name = cp1251::toUpper(cp1251::fromQString(word));
    if (frameNames_.names().count(name)) {
      browser_->openFrameViewer(cp1251::toQString(name));
      return;
    }
  }
}

// SAVE_DB_ON_EXIT: a save that could not write some file (the terminal
// names it) is shown, and the user may stay.
bool TMainForm::saveBeforeExit() {
  if (!Form1->running() || !Form1->session().settings().save_db_on_exit) return true;
  Form1->session().save_if_asked();
  if (!velloq::database_save_failed()) return true;
  return dialogs_.askWarning(this, QStringLiteral("Exit"),
                             QStringLiteral("The frame databases could not all be saved "
                                            "(see the terminal).\nExit all the same?"),
                             false) == Dialogs::Reply::Yes;
}

// While an evaluation runs, the close asks for the break and waits for the
// end of the evaluation, so nothing is saved half way.
void TMainForm::closeEvent(QCloseEvent* event) {
  if (busy()) {
    closeAfterBusy_ = true;
    Form1->requestBreak();
    event->ignore();
    return;
  }
  if (!exitConfirmed_ && !saveBeforeExit()) {
    event->ignore();
    return;
  }
  exitConfirmed_ = true;
  Form1->stopSession();
  event->accept();
}
