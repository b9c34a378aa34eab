// The terminal session and its side of the interpreter's console seam.
#include "terminal_session.h"

#include "streams.h"
#include "toplevel.h"

namespace velloq_ui {

const char TerminalSession::kExpressionTooLong[] =
    "error: expression too long for the input buffer, dropped up to its end\n";

static TerminalSession& session(void* self) { return *static_cast<TerminalSession*>(self); }

bool TerminalSession::start() {
  velloq::console = velloq::ConsoleIO{};
  velloq::console.context = this;
  velloq::console.write_char = write_char;
  velloq::console.write_string = write_string;
  velloq::console.read_more = read_more;
  velloq::console.break_requested = break_requested;
  velloq::console.process_events = process_events;
  velloq::console.exit_hook = request_exit;
  exit_requested_ = false;
  return velloq::start_interpreter();
}

void TerminalSession::enter_line(const std::string& line) {
  switch (input_.add_line(line)) {
    case InputBuffer::kComplete:
      run(input_.take());
      break;
    case InputBuffer::kRefused:
      frontend_.show_text(kExpressionTooLong, true);
      break;
    case InputBuffer::kIncomplete:
      break;
  }
}

void TerminalSession::end_input() {
  if (!input_.blank()) run(input_.take());
}

void TerminalSession::stop() {
  velloq::stop_interpreter();
  velloq::console = velloq::ConsoleIO{};
}

// The text is a local copy: the interpreter reads it as console input
// while the buffer already takes the next lines.  Errors and breaks end
// inside the top level, so no unwinding passes this frame.
void TerminalSession::run(std::string text) {
  int more = 0;
  frontend_.begin_busy();
  velloq::evaluate_top_level_text(text.c_str(), &more);
  frontend_.end_busy();
}

void TerminalSession::write_char(void* self, int c, bool error_colour) {
  char ch = static_cast<char>(c);
  session(self).frontend_.show_text(std::string_view(&ch, 1), error_colour);
}

void TerminalSession::write_string(void* self, const char* s, bool error_colour) {
  session(self).frontend_.show_text(s, error_colour);
}

bool TerminalSession::read_more(void* self) {
  TerminalSession& ts = session(self);
  if (!ts.frontend_.read_line(&ts.reply_line_)) return false;
  ts.reply_line_ += '\n';
  velloq::set_console_input(ts.reply_line_.c_str());
  return true;
}

bool TerminalSession::break_requested(void* self) {
  return session(self).frontend_.take_break_request();
}

void TerminalSession::process_events(void* self) { session(self).frontend_.process_events(); }

void TerminalSession::request_exit(void* self) { session(self).exit_requested_ = true; }

}  // namespace velloq_ui
