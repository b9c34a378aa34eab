// The --tty front end: text goes out in the terminal's encoding (the error
// colour as red on a terminal), lines come in from the input stream, and
// Ctrl-C requests the user break.
#include "tty_frontend.h"

#include <unistd.h>

#include <csignal>
#include <string>

#include "cp1251.h"
#include "frame_events.h"
#include "input_buffer.h"
#include "terminal_session.h"

namespace velloq_ui {

namespace {

// Set by the SIGINT handler, which can reach nothing else.
volatile sig_atomic_t interrupted = 0;

void on_sigint(int) { interrupted = 1; }

class TtyFrontend : public TerminalFrontend {
 public:
  TtyFrontend(FILE* in, FILE* out)
      : in_(in), out_(out), out_tty_(isatty(fileno(out)) != 0) {}

  void show_text(std::string_view text, bool error_colour) override {
    std::string shown = cp1251::toLocale(text);
    bool red = error_colour && out_tty_;
    if (red) std::fputs("\x1b[31m", out_);
    std::fwrite(shown.data(), 1, shown.size(), out_);
    if (red) std::fputs("\x1b[0m", out_);
  }

  // Reads one line without its end (a CR before the LF goes too).  Past
  // the longest expression the session takes, the rest of the line is
  // read but not kept: the session refuses the line anyway.
  bool read_line(std::string* line) override {
    line->clear();
    int c;
    bool any = false;
    while ((c = std::fgetc(in_)) != EOF) {
      any = true;
      if (c == '\n') break;
      if (line->size() <= kMaxExpressionBytes) line->push_back(static_cast<char>(c));
    }
    if (!line->empty() && line->back() == '\r') line->pop_back();
    if (!any) return false;
    *line = cp1251::fromLocale(*line);
    return true;
  }

  bool take_break_request() override {
    if (!interrupted) return false;
    interrupted = 0;
    return true;
  }

  void begin_busy() override { interrupted = 0; }
  void end_busy() override { std::fflush(out_); }

 private:
  FILE* in_;
  FILE* out_;
  bool out_tty_;
};

}  // namespace

int run_tty(FILE* in, FILE* out) {
  bool in_tty = isatty(fileno(in)) != 0;
  // Each line reaches the reader as soon as it is complete, pipes included.
  std::setvbuf(out, nullptr, _IOLBF, 0);
  TtyFrontend frontend(in, out);
  TerminalSession session(frontend);
  // The windows keep the frame names for their lists; so does the terminal.
  velloq::FrameNameList frame_names;
  velloq::set_frame_events(&frame_names);
  std::signal(SIGINT, on_sigint);
  if (!session.start()) {
    std::fflush(out);
    velloq::set_frame_events(nullptr);
    return 1;
  }
  if (in_tty) std::fputs("Velloq Lisp\n", out);
  std::string line;
  while (!session.exit_requested()) {
    if (in_tty) {
      std::fputs(session.input().text().empty() ? "> " : "  ", out);
      std::fflush(out);
    }
    if (!frontend.read_line(&line)) {
      session.end_input();
      break;
    }
    session.enter_line(line);
  }
  std::fflush(out);
  session.stop();
  velloq::set_frame_events(nullptr);
  return 0;
}

}  // namespace velloq_ui
