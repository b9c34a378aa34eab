// The terminal session: what the terminal of the Lisp environment knows
// whichever front end shows it (`velloq --tty` on a text terminal, the
// terminal window later).  It owns the input buffer, the settings and the
// interpreter's console seam; a front end only shows text, hands over the
// lines typed and reports the break key.
#pragma once

#include <string>
#include <string_view>

#include "input_buffer.h"

namespace velloq_ui {

// What a front end does for the session.  Text is Windows-1251 both ways.
class TerminalFrontend {
 public:
  // Shows interpreter output, in the error colour when asked.
  virtual void show_text(std::string_view text, bool error_colour) = 0;
  // Reads the next line typed while a program waits for input, without
  // its line end; false at end of input.
  virtual bool read_line(std::string* line) = 0;
  // Whether the user asked to break the running evaluation; asking clears
  // the request.
  virtual bool take_break_request() = 0;
  // Lets the window system handle pending events during a long evaluation.
  virtual void process_events() {}
  // Brackets every evaluation: a new evaluation starts without a break
  // request, and its output is complete at the end.
  virtual void begin_busy() {}
  virtual void end_busy() {}

 protected:
  ~TerminalFrontend() = default;
};

// Settings of the terminal ("velloq.ini"); the defaults until the file is
// read.
struct TerminalSettings {
  bool use_log = true;                 // USELOG
  std::string log_file = "VELLOQ.LOG"; // LOGFILE
  int max_stored_lines = 200;          // MAX_STORED_LINES, 100..800
  int max_stored_input = 100;          // MAX_STORED_INPUT, 3..100
  bool allow_error_messages = true;    // ALLOW_ERROR_MESSAGES
  bool load_db_at_startup = true;      // LOAD_DB_AT_STARTUP
  bool save_db_on_exit = true;         // SAVE_DB_ON_EXIT
  std::string startup_db = "databases.dat";  // STARTUP_DB
};

// One interpreter driven by one front end.  At most one session is started
// at a time: the interpreter is one per process.
class TerminalSession {
 public:
  explicit TerminalSession(TerminalFrontend& frontend) : frontend_(frontend) {}
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  // Connects the interpreter's console to the front end and starts the
  // interpreter; false when it could not start.
  bool start();
  // Handles one entered line (without its line end) as Enter does: the line
  // joins the input buffer, and once the parentheses balance the buffer
  // runs through the top level and empties.  An expression longer than the
  // buffer keeps is refused with kExpressionTooLong (error colour).
  void enter_line(const std::string& line);
  static const char kExpressionTooLong[];
  // End of input: runs what the buffer still holds, unless it is blank.
  void end_input();
  // Whether a program asked to end the session (EXIT).
  bool exit_requested() const { return exit_requested_; }
  // Shuts the interpreter down and disconnects the console.
  void stop();

  const InputBuffer& input() const { return input_; }
  TerminalSettings& settings() { return settings_; }

 private:
  void run(std::string text);
  static void write_char(void* self, int c, bool error_colour);
  static void write_string(void* self, const char* s, bool error_colour);
  static bool read_more(void* self);
  static bool break_requested(void* self);
  static void process_events(void* self);
  static void request_exit(void* self);

  TerminalFrontend& frontend_;
  InputBuffer input_;
  TerminalSettings settings_;
  std::string reply_line_;  // the line a reading program is handed
  bool exit_requested_ = false;
};

}  // namespace velloq_ui
