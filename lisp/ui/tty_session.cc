// The terminal session.
#include "tty_session.h"

#include <unistd.h>

#include <csignal>
#include <cstring>

#include "cp1251.h"
#include "streams.h"
#include "toplevel.h"

namespace velloq_ui {

namespace {

FILE* g_in = nullptr;
FILE* g_out = nullptr;
bool g_out_tty = false;
bool g_in_tty = false;
bool g_exit = false;
volatile sig_atomic_t g_break = 0;
std::string g_more_line;  // the line handed to a reading program

void on_sigint(int) { g_break = 1; }

void write_text(const char* s, bool error_colour) {
  std::string text = cp1251::toLocale(s);
  if (error_colour && g_out_tty) std::fputs("\x1b[31m", g_out);
  std::fwrite(text.data(), 1, text.size(), g_out);
  if (error_colour && g_out_tty) std::fputs("\x1b[0m", g_out);
}

void write_char(int c, bool error_colour) {
  char s[2] = {(char)c, 0};
  if (c == 0) {
    std::fputc(0, g_out);
    return;
  }
  write_text(s, error_colour);
}

// Reads one line without its end; false at end of input.
bool read_line(std::string* line) {
  line->clear();
  int c;
  bool any = false;
  while ((c = std::fgetc(g_in)) != EOF) {
    any = true;
    if (c == '\n') break;
    line->push_back((char)c);
  }
  if (!line->empty() && line->back() == '\r') line->pop_back();
  if (!any) return false;
  *line = cp1251::fromLocale(*line);
  return true;
}

bool read_more() {
  if (!read_line(&g_more_line)) return false;
  g_more_line += '\n';
  velloq::set_console_input(g_more_line.c_str());
  return true;
}

bool break_requested() {
  if (!g_break) return false;
  g_break = 0;
  return true;
}

void request_exit() { g_exit = true; }

}  // namespace

bool parens_balanced(const std::string& text) {
  int depth = 0;
  size_t i = 0, n = text.size();
  while (i < n) {
    char c = text[i++];
    if (c == ';') {
      while (i < n && text[i] != '\n') i++;
    } else if (c == '"') {
      while (i < n && text[i] != '"') {
        if (text[i] == '\\') i++;
        i++;
      }
      i++;
    } else if (c == '|') {
      while (i < n && text[i] != '|') {
        if (text[i] == '\\') i++;
        i++;
      }
      i++;
    } else if (c == '\\') {
      i++;
    } else if (c == '#' && i < n && text[i] == '\\') {
      i += 2;
    } else if (c == '(') {
      depth++;
    } else if (c == ')') {
      depth--;
    }
  }
  if (i > n) return false;  // an open string or escape
  return depth <= 0;
}

int run_tty_session(FILE* in, FILE* out) {
  g_in = in;
  g_out = out;
  g_in_tty = isatty(fileno(in));
  g_out_tty = isatty(fileno(out));
  // Each line reaches the reader as soon as it is complete, pipes included.
  std::setvbuf(out, nullptr, _IOLBF, 0);
  velloq::console.write_char = write_char;
  velloq::console.write_string = write_text;
  velloq::console.read_more = read_more;
  velloq::console.break_requested = break_requested;
  velloq::console.process_events = nullptr;
  velloq::console.exit_hook = request_exit;
  std::signal(SIGINT, on_sigint);
  if (!velloq::start_interpreter()) {
    std::fflush(out);
    return 1;
  }
  if (g_in_tty) {
    std::fputs("Velloq Lisp\n", out);
  }
  std::string buffer;
  std::string line;
  while (!g_exit) {
    if (g_in_tty) {
      std::fputs(buffer.empty() ? "> " : "  ", out);
      std::fflush(out);
    }
    bool got = read_line(&line);
    if (!got) {
      if (buffer.find_first_not_of(" \t\r\n") == std::string::npos) break;
    } else {
      buffer += line;
      buffer += '\n';
      if (!parens_balanced(buffer)) continue;
    }
    int more = 0;
    g_break = 0;
    std::string text = buffer;
    buffer.clear();
    velloq::evaluate_top_level_text(text.c_str(), &more);
    std::fflush(out);
    if (!got) break;
  }
  std::fflush(out);
  velloq::stop_interpreter();
  return 0;
}

}  // namespace velloq_ui
