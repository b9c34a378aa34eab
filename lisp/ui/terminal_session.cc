// The terminal session and its side of the interpreter's console seam.
#include "terminal_session.h"

#include <ctime>

#include "databases.h"
#include "errors.h"
#include "streams.h"
#include "toplevel.h"

namespace velloq_ui {

const char TerminalSession::kExpressionTooLong[] =
    "error: expression too long for the input buffer, dropped up to its end\n";

const char* const kVelloqName = "Velloq";
const char* const kVelloqVersion = "1.0";

namespace {

const size_t kLongestPendingLine = 1 << 20;

TerminalSession& session(void* self) { return *static_cast<TerminalSession*>(self); }

std::tm now() {
  std::time_t t = std::time(nullptr);
  std::tm when{};
  localtime_r(&t, &when);
  return when;
}

}  // namespace

TerminalSession::TerminalSession(TerminalFrontend& frontend, std::string settings_path)
    : frontend_(frontend), settings_path_(std::move(settings_path)) {}

TerminalSession::~TerminalSession() { stop(); }

bool TerminalSession::start() {
  read_settings_file(settings_path_, settings_);
  // SAVE and RESTORE use the list file the settings name.
  if (!settings_.startup_db.empty()) velloq::set_database_list_file(settings_.startup_db.c_str());
  history_ = SessionHistory(settings_.max_stored_input);
  std::string log_path = settings_.log_file.empty() ? "velloq.log" : settings_.log_file;
  log_ = std::make_unique<SessionLog>(log_path, settings_.use_log, settings_.max_stored_lines,
                                      [this](const std::string& m) { frontend_.report_problem(m); });
  log_->log_on(now());
  frontend_.show_banner(std::string(kVelloqName) + " Lisp environment, version " + kVelloqVersion);
  velloq::console = velloq::ConsoleIO{};
  velloq::console.context = this;
  velloq::console.write_char = write_char;
  velloq::console.write_string = write_string;
  velloq::console.read_more = read_more;
  velloq::console.read_reply = read_reply_line;
  velloq::console.ask = ask;
  velloq::console.break_requested = break_requested;
  velloq::console.process_events = process_events;
  velloq::console.exit_hook = request_exit;
  exit_requested_ = input_ended_ = false;
  started_ = true;
  begin_busy();
  bool ok = velloq::start_interpreter();
  end_busy();
  if (!pending_.empty()) {
    complete_pending_line();
    frontend_.end_line();
  }
  return ok;
}

void TerminalSession::restore_if_asked() {
  if (settings_.load_db_at_startup && !should_end()) run_text("(RESTORE)\n");
}

void TerminalSession::save_if_asked() {
  if (settings_.save_db_on_exit && started_ && !fatal_error()) run_text("(SAVE)\n");
}

void TerminalSession::stop() {
  if (!started_) return;
  started_ = false;
  if (!pending_.empty()) complete_pending_line();
  log_->log_off(now());
  settings_.use_log = log_->enabled();
  velloq::stop_interpreter();
  velloq::console = velloq::ConsoleIO{};
  std::string error;
  if (!write_settings_file(settings_path_, settings_, &error))
    frontend_.report_problem("Cannot write " + settings_path_ + ": " + error);
}

void TerminalSession::apply_settings(const Settings& settings) {
  settings_ = settings;
  if (log_) {
    log_->set_enabled(settings_.use_log);
    log_->set_max_stored_lines(settings_.max_stored_lines);
  }
  history_.set_max_entries(settings_.max_stored_input);
  if (!settings_.startup_db.empty()) velloq::set_database_list_file(settings_.startup_db.c_str());
}

bool TerminalSession::fatal_error() const { return velloq::fatal_error_seen; }

void TerminalSession::enter_line(const std::string& line) {
  if (!pending_.empty()) complete_pending_line();
  log_->add_line(line);
  velloq::dribble_input(line.data(), (long)line.size());
  velloq::dribble_input("\n", 1);
  switch (input_.add_line(line)) {
    case InputBuffer::kComplete:
      run_text(input_.take());
      break;
    case InputBuffer::kRefused:
      output(kExpressionTooLong, true);
      break;
    case InputBuffer::kIncomplete:
      break;
  }
  history_.add(line);
}

void TerminalSession::abandon_input() { input_.take(); }

void TerminalSession::end_input() {
  input_ended_ = true;
  if (!input_.blank()) run_text(input_.take());
}

// The text is a local copy: the interpreter reads it as console input
// while the buffer already takes the next lines.  Errors, breaks and EXIT
// end inside the top level, so no unwinding passes this frame.
void TerminalSession::run_text(const std::string& text) {
  int more = 0;
  begin_busy();
  velloq::evaluate_top_level_text(text.c_str(), &more);
  end_busy();
  if (!pending_.empty()) {
    complete_pending_line();
    frontend_.end_line();
  }
}

void TerminalSession::begin_busy() {
  if (busy_) return;
  busy_ = true;
  break_requested_ = false;
  awaiting_input_ = false;
  frontend_.begin_busy();
}

void TerminalSession::end_busy() {
  if (!busy_) return;
  busy_ = false;
  break_requested_ = false;
  frontend_.end_busy();
}

// Whether `closers` closing parentheses complete the text.
int TerminalSession::open_depth() const { return input_.open_depth(); }

// ---- output lines ----

// Text goes to the front end as written; the session keeps the line it
// has not yet ended, for the log and for the error message.
void TerminalSession::output(std::string_view text, bool error_colour) {
  frontend_.show_text(text, error_colour);
  size_t start = 0;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] != '\n') continue;
    pending_.append(text.substr(start, i - start));
    pending_error_ = pending_error_ || error_colour;
    complete_pending_line();
    start = i + 1;
  }
  if (start < text.size()) {
    pending_.append(text.substr(start));
    pending_error_ = pending_error_ || error_colour;
  }
  // A program that writes without line ends must not fill the memory: an
  // overlong line is stored and logged in pieces.
  if (pending_.size() >= kLongestPendingLine) complete_pending_line();
}

void TerminalSession::complete_pending_line() {
  std::string line;
  line.swap(pending_);
  bool error_colour = pending_error_;
  pending_error_ = false;
  log_->add_line(line);
  if (error_colour && settings_.allow_error_messages) frontend_.show_error_message(line);
}

// ---- input while a program runs ----

// The reply is typed after the current output line and completes it.
bool TerminalSession::read_reply(std::string* line) {
  awaiting_input_ = true;
  LineRead got = frontend_.read_line(pending_, line);
  awaiting_input_ = false;
  if (got == LineRead::EndOfInput) {
    input_ended_ = true;
    return false;
  }
  if (got == LineRead::Interrupted) {
    break_requested_ = true;
    line->clear();
    return true;
  }
  velloq::dribble_input(line->data(), (long)line->size());
  velloq::dribble_input("\n", 1);
  pending_ += *line;
  complete_pending_line();
  frontend_.end_line();
  return true;
}

// ---- the console seam ----

void TerminalSession::write_char(void* self, int c, bool error_colour) {
  char ch = static_cast<char>(c);
  session(self).output(std::string_view(&ch, 1), error_colour);
}

void TerminalSession::write_string(void* self, const char* s, bool error_colour) {
  session(self).output(s, error_colour);
}

bool TerminalSession::read_more(void* self) {
  TerminalSession& ts = session(self);
  if (!ts.read_reply(&ts.reply_)) return false;
  ts.reply_ += '\n';
  velloq::set_console_input(ts.reply_.c_str());
  return true;
}

bool TerminalSession::read_reply_line(void* self, const char** line) {
  TerminalSession& ts = session(self);
  if (!ts.read_reply(&ts.reply_)) return false;
  *line = ts.reply_.c_str();
  return true;
}

bool TerminalSession::ask(void* self, const char* question, const char** answer) {
  TerminalSession& ts = session(self);
  ts.awaiting_input_ = true;
  bool got = ts.frontend_.ask_box(question, &ts.reply_);
  ts.awaiting_input_ = false;
  if (!got) return false;
  *answer = ts.reply_.c_str();
  return true;
}

bool TerminalSession::break_requested(void* self) {
  TerminalSession& ts = session(self);
  if (ts.frontend_.take_break_request()) ts.break_requested_ = true;
  bool requested = ts.break_requested_;
  ts.break_requested_ = false;
  return requested;
}

void TerminalSession::process_events(void* self) { session(self).frontend_.process_events(); }

void TerminalSession::request_exit(void* self) { session(self).exit_requested_ = true; }

}  // namespace velloq_ui
