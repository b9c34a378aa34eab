// TForm1: the terminal of the Lisp environment, a dock window.  It shows
// the interpreter's output in Output and takes typed Lisp in Input; the
// terminal session (lisp/ui) holds all the logic, this window shows text,
// hands over what is typed and raises the user break.
#pragma once

#include "dialogs.h"
#include "terminal_session.h"

#include <QDockWidget>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextCursor>
#include <memory>
#include <string>

class QEventLoop;
class TerminalOutput;
class QKeyEvent;

class TForm1 : public QDockWidget, public velloq_ui::TerminalFrontend {
  Q_OBJECT

 public:
  // Reads the settings at `settingsPath` and starts the interpreter at
  // once (banner, "init.lsp").  Every dialog goes through `dialogs`.
  TForm1(Dialogs& dialogs, QWidget* parent = nullptr,
         const std::string& settingsPath = "velloq.ini");
  ~TForm1() override;

  velloq_ui::TerminalSession& session() { return *session_; }
  // False once the interpreter could not start or the session was stopped.
  bool running() const { return started_ && !stopped_; }
  bool busy() const { return session_->busy(); }
  bool awaitingInput() const { return awaiting_; }

  // Enter: submits the input field's lines (or answers a waiting program).
  void InputEnter();
  // Escape while an evaluation runs.
  void requestBreak();
  // Runs `text` through the top level, as the menu commands do; nothing
  // happens while busy or after the session ended.
  void runText(const std::string& text);
  // Tab: completes the symbol name before the cursor.
  void completeSymbol();
  // The preferences changed: the pane keeps the new number of lines.
  void applySettings(const velloq_ui::Settings& settings);
  // The exit: log-off line, interpreter down, settings written.  Idempotent.
  void stopSession();

  // Completed output lines written in the error colour so far.
  int errorLineCount() const { return errorLines_; }
  // The names the last Tab offered when it could not decide.
  const QStringList& lastCompletions() const { return lastCompletions_; }

  QPlainTextEdit* Output;
  QPlainTextEdit* Input;

  // TerminalFrontend.
  void show_text(std::string_view text, bool error_colour) override;
  void end_line() override;
  void show_banner(const std::string& banner) override;
  velloq_ui::LineRead read_line(std::string_view prompt, std::string* line) override;
  bool ask_box(const std::string& question, std::string* answer) override;
  bool take_break_request() override;
  void process_events() override;
  void show_error_message(const std::string& line) override;
  void report_problem(const std::string& text) override;
  void begin_busy() override;
  void end_busy() override;

 signals:
  // An evaluation has begun.
  void busyStarted();
  // An evaluation has ended.
  void busyEnded();
  // EXIT ran, or a fatal error stopped the interpreter.
  void sessionEnded();
  // The user clicked a line written in the error colour.
  void errorLineClicked(const QString& line);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool inputKey(QKeyEvent* key);
  void historyKey(bool older);
  void echo(const QString& line);
  void appendText(const QString& text, const QTextCharFormat& format);
  void newLine();

  void markParentheses();
  void fitInputHeight();
  void checkSessionEnd();

  Dialogs& dialogs_;
  std::unique_ptr<velloq_ui::TerminalSession> session_;
  TerminalOutput* output_;          // writes into Output
  QTextCharFormat normal_, error_, bold_;
  bool lineIsError_ = false;        // the current line holds error text
  bool started_ = false;
  bool stopped_ = false;
  bool breakRequested_ = false;
  bool awaiting_ = false;

  bool replied_ = false;
  std::string reply_;
  QEventLoop* waitLoop_ = nullptr;  // runs while a program awaits a line
  int errorLines_ = 0;
  QStringList lastCompletions_;
};
