// The --tty front end: text goes out in the terminal's encoding (the error
// colour as red on a terminal), lines come in from the line editor or from
// the input stream, and Ctrl-C requests the user break.
#include "tty_frontend.h"

#include <langinfo.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cp1251.h"
#include "frame_events.h"
#include "input_buffer.h"
#include "line_editor.h"
#include "terminal_io.h"
#include "terminal_session.h"

namespace velloq_ui {

namespace {

// Set by the SIGINT handler, which can reach nothing else.
volatile sig_atomic_t interrupted = 0;

void on_sigint(int) { interrupted = 1; }

class TtyFrontend : public TerminalFrontend {
 public:
  explicit TtyFrontend(bool interactive)
      : interactive_(interactive),
        out_tty_(isatty(STDOUT_FILENO) != 0),
        terminal_(STDIN_FILENO, STDOUT_FILENO),
        editor_(terminal_, codeset_is_utf8(nl_langinfo(CODESET)) || is_c_locale()) {
    terminal_.set_interrupt_flag(&interrupted);
  }

  void set_history(SessionHistory* history) { history_ = history; }

  void show_text(std::string_view text, bool error_colour) override {
    if (text.empty()) return;
    std::string shown = cp1251::toLocale(text);
    bool red = error_colour && out_tty_;
    if (red) std::fputs("\x1b[31m", stdout);
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    if (red) std::fputs("\x1b[0m", stdout);
    at_line_start_ = text.back() == '\n';
  }

  void end_line() override {
    if (!at_line_start_) std::fputc('\n', stdout);
    at_line_start_ = true;
  }

  void show_banner(const std::string& banner) override {
    if (interactive_) show_text(banner + "\n", false);
  }

  LineRead read_line(std::string_view prompt, std::string* line) override {
    if (!interactive_) return read_piped(line) ? LineRead::Line : LineRead::EndOfInput;
    return edit(prompt, line);
  }

  // The question stands as the prompt of one line read.
  bool ask_box(const std::string& question, std::string* answer) override {
    show_text(question, false);
    LineRead got = read_line(question, answer);
    end_line();
    return got == LineRead::Line;
  }

  bool take_break_request() override {
    if (!interrupted) return false;
    interrupted = 0;
    return true;
  }

  void begin_busy() override { interrupted = 0; }
  void end_busy() override { std::fflush(stdout); }

  // Error lines are on the terminal already, in red; the session's own
  // troubles go to standard error.
  void report_problem(const std::string& text) override {
    std::fprintf(stderr, "velloq: %s\n", cp1251::toLocale(text).c_str());
  }

  // The line editor, in raw mode while it edits.
  LineRead edit(std::string_view prompt, std::string* line) {
    std::fflush(stdout);
    EditResult r;
    {
      RawMode raw(STDIN_FILENO);
      r = editor_.read_line(prompt, history_, line);
    }
    at_line_start_ = true;
    if (r == EditResult::Line) return LineRead::Line;
    return r == EditResult::Interrupted ? LineRead::Interrupted : LineRead::EndOfInput;
  }

  // One line of standard input without its end (CR LF or LF).  Past the
  // longest expression the session takes, the rest of the line is read but
  // not kept: the session refuses the line anyway.
  bool read_piped(std::string* line) {
    std::fflush(stdout);
    line->clear();
    int c;
    bool any = false;
    while ((c = getc_unlocked(stdin)) != EOF) {
      any = true;
      if (c == '\n') break;
      if (line->size() <= kMaxExpressionBytes) line->push_back(static_cast<char>(c));
    }
    if (!any) return false;
    if (!line->empty() && line->back() == '\r') line->pop_back();
    *line = cp1251::fromLocale(*line);
    return true;
  }


 private:
  static bool is_c_locale() {
    std::string c = nl_langinfo(CODESET);
    return c == "ANSI_X3.4-1968" || c == "ASCII";
  }

  bool interactive_;
  bool out_tty_;
  bool at_line_start_ = true;
  PosixTerminal terminal_;
  LineEditor editor_;
  SessionHistory* history_ = nullptr;
};

// The prompt shows how many parentheses are still open.
std::string prompt_for(int depth) {
  if (depth == 0) return "> ";
  if (depth < 0) return "..\"> ";
  return ".." + std::to_string(depth) + "> ";
}

void run_interactive(TerminalSession& session, TtyFrontend& frontend) {
  std::string line;
  while (!session.should_end()) {
    switch (frontend.edit(prompt_for(session.open_depth()), &line)) {
      case LineRead::Line: session.enter_line(line); break;
      case LineRead::Interrupted: session.abandon_input(); break;
      case LineRead::EndOfInput: session.end_input(); break;
    }
  }
}

void run_piped(TerminalSession& session, TtyFrontend& frontend) {
  std::string line;
  while (!session.should_end()) {
    if (frontend.read_piped(&line)) session.enter_line(line);
    else session.end_input();
  }
}

}  // namespace

int run_tty() {
  bool interactive = isatty(STDIN_FILENO) != 0;
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::signal(SIGINT, on_sigint);
  TtyFrontend frontend(interactive);
  TerminalSession session(frontend);
  // Up and Down walk the session's history.
  frontend.set_history(&session.history());
  // The windows keep the frame names for their lists; so does the terminal.
  velloq::FrameNameList frame_names;
  velloq::set_frame_events(&frame_names);
  bool started = session.start();
  if (started) {
    session.restore_if_asked();
    if (interactive) run_interactive(session, frontend);
    else run_piped(session, frontend);
    session.save_if_asked();
  }
  session.stop();
  velloq::set_frame_events(nullptr);
  std::fflush(stdout);
  return started && !session.fatal_error() ? 0 : 1;
}

}  // namespace velloq_ui
