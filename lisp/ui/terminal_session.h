// The terminal session: what the terminal of the Lisp environment knows
// whichever front end shows it (`velloq --tty` on a text terminal, the
// terminal window later).  It owns the settings, the log, the input buffer,
// the history, the pending output line, the busy and awaiting-input states
// and the interpreter's console seam; a front end only shows text, hands
// over the lines typed and reports the break key.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "input_buffer.h"
#include "session_history.h"
#include "session_log.h"
#include "settings.h"

namespace velloq_ui {

// The environment's name and version, for banners and --version.
extern const char* const kVelloqName;
extern const char* const kVelloqVersion;

// How a wait for a typed line ended.
enum class LineRead { Line, Interrupted, EndOfInput };

// What a front end does for the session.  Text is Windows-1251 both ways.
class TerminalFrontend {
 public:
  // Shows interpreter output as it is written, in the error colour when
  // asked.
  virtual void show_text(std::string_view text, bool error_colour) = 0;
  // Ends the terminal's current line when output that has no line end
  // stands on it (an output line was completed without one).
  virtual void end_line() {}
  // Shows the one-line banner at start-up.
  virtual void show_banner(const std::string& banner) { (void)banner; }
  // Waits for the line a running program asks for; `prompt` is the output
  // line it is typed after (the reply is appended to it).  Interrupted when
  // the user pressed the break key instead.
  virtual LineRead read_line(std::string_view prompt, std::string* line) = 0;
  // The prompt dialog of ASKBOX; false when cancelled or input ended.
  virtual bool ask_box(const std::string& question, std::string* answer) = 0;
  // Whether the user pressed the break key since last asked.
  virtual bool take_break_request() { return false; }
  // Lets the window system handle pending events during a long evaluation.
  virtual void process_events() {}
  // A completed output line in the error colour, while
  // ALLOW_ERROR_MESSAGES is on (the window shows it in a message box).
  virtual void show_error_message(const std::string& line) { (void)line; }
  // The session's own troubles: "Error opening log file.", a settings
  // file that could not be written.
  virtual void report_problem(const std::string& text) = 0;
  // Brackets every evaluation.
  virtual void begin_busy() {}
  virtual void end_busy() {}

 protected:
  ~TerminalFrontend() = default;
};

// One interpreter driven by one front end.  At most one session is started
// at a time: the interpreter is one per process.
class TerminalSession {
 public:
  // `settings_path` is read at start and written at stop.
  explicit TerminalSession(TerminalFrontend& frontend, std::string settings_path = "velloq.ini");
  ~TerminalSession();
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  // Reads the settings, opens the log with its log-on line, shows the
  // banner, connects the console and starts the interpreter (workspace
  // image, "init.lsp"); false when the interpreter could not start.
  bool start();
  // Runs "(RESTORE)\n" when LOAD_DB_AT_STARTUP asks for it.
  void restore_if_asked();
  // Handles one line entered at the prompt (without its line end) as
  // Enter does: it is logged, joins the input buffer, the buffer runs once
  // its parentheses balance, and the line goes into the history.  An
  // expression longer than the buffer keeps is refused with
  // kExpressionTooLong (error colour).
  void enter_line(const std::string& line);
  static const char kExpressionTooLong[];
  // Drops the half-typed expression (Ctrl-C at the prompt).
  void abandon_input();
  // End of input: runs what the buffer still holds, unless it is blank.
  void end_input();
  // Runs a text through the top level between begin-busy and end-busy
  // (menu commands, "(SAVE)\n"); the pending output line is completed.
  void run_text(const std::string& text);
  // Runs "(SAVE)\n" when SAVE_DB_ON_EXIT asks for it and the interpreter
  // is sound.
  void save_if_asked();
  // Writes the rest of the log and the log-off line, shuts the interpreter
  // down, disconnects the console and writes the settings file.
  // Idempotent.
  void stop();

  // Makes `settings` the running settings (the preferences dialog's OK):
  // the log, the stored lines, the history's length and the database list
  // file follow them at once; a new LOGFILE name counts from the next start.
  void apply_settings(const Settings& settings);

  // The user pressed the break key (the window's Escape).
  void request_break() { break_requested_ = true; }

  // The session is over: EXIT was called, input ended, or a fatal error
  // stopped the interpreter.
  bool should_end() const { return exit_requested_ || input_ended_ || fatal_error(); }
  bool exit_requested() const { return exit_requested_; }
  bool fatal_error() const;
  bool busy() const { return busy_; }
  bool awaiting_input() const { return awaiting_input_; }
  bool break_requested() const { return break_requested_; }

  // Open parentheses of the input buffer, 0 when it is complete, -1 when
  // it ends inside a string or a |name|.
  int open_depth() const;

  const InputBuffer& input() const { return input_; }
  Settings& settings() { return settings_; }
  SessionHistory& history() { return history_; }
  const SessionLog* log() const { return log_.get(); }
  const std::string& pending_line() const { return pending_; }

 private:
  void begin_busy();
  void end_busy();
  void output(std::string_view text, bool error_colour);
  void complete_pending_line();
  bool read_reply(std::string* line);

  static void write_char(void* self, int c, bool error_colour);
  static void write_string(void* self, const char* s, bool error_colour);
  static bool read_more(void* self);
  static bool read_reply_line(void* self, const char** line);
  static bool ask(void* self, const char* question, const char** answer);
  static bool break_requested(void* self);
  static void process_events(void* self);
  static void request_exit(void* self);

  TerminalFrontend& frontend_;
  std::string settings_path_;
  Settings settings_;
  std::unique_ptr<SessionLog> log_;
  InputBuffer input_;
  SessionHistory history_;
  std::string pending_;          // output not yet ended by a line end
  bool pending_error_ = false;   // it was written in the error colour
  std::string reply_;            // the reply line a reading program is handed
  bool started_ = false;
  bool busy_ = false;
  bool awaiting_input_ = false;
  bool break_requested_ = false;
  bool exit_requested_ = false;
  bool input_ended_ = false;
};

}  // namespace velloq_ui
