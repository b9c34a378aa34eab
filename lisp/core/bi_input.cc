// The input built-ins: GETSTRING, GETNUM, GETINT, GETFLOAT read a reply
// line from the terminal while a program runs; ASKBOX asks in the prompt
// dialog.  Without a terminal (no front end) each yields NIL.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "builtin_handlers.h"
#include "errors.h"
#include "eval.h"
#include "streams.h"
#include "toplevel.h"

namespace velloq {

namespace {

// The optional prompt argument, or NIL.
Node* prompt_arg() {
  Node* prompt = more_args() ? next_arg() : nullptr;
  last_arg();
  if (prompt && !stringp(prompt)) bad_argument(prompt);
  return prompt;
}

// Shows the prompt in the default colour and waits for the reply; null at
// end of input.  A break typed meanwhile ends the evaluation here.
const char* ask_for_line(Node* prompt) {
  if (!console.read_reply) return nullptr;
  if (prompt) stream_put_string(console_stream, prompt->u.str);
  const char* line = nullptr;
  bool got = console.read_reply(console.context, &line);
  poll_user_break();
  return got ? line : nullptr;
}

void complain(const char* text) {
  console_error_colour = true;
  stream_put_string(console_stream, text);
  console_error_colour = false;
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The reply without its surrounding blanks, copied into buf (false when
// it does not fit, which no number does).
bool trimmed(const char* line, char* buf, size_t size) {
  while (is_space(*line)) line++;
  size_t n = strlen(line);
  while (n > 0 && is_space(line[n - 1])) n--;
  if (n == 0 || n >= size) return false;
  memcpy(buf, line, n);
  buf[n] = 0;
  return true;
}

// A decimal integer that fits a FIXNUM: an optional sign and digits.
bool parse_integer(const char* line, int32_t* out) {
  char buf[64];
  if (!trimmed(line, buf, sizeof buf)) return false;
  const char* p = buf + (buf[0] == '+' || buf[0] == '-');
  if (!*p) return false;
  for (const char* q = p; *q; q++)
    if (*q < '0' || *q > '9') return false;
  errno = 0;
  long v = strtol(buf, nullptr, 10);
  if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
  *out = (int32_t)v;
  return true;
}

// A decimal floating-point number: sign, digits with an optional point,
// an optional exponent.  Names such as "inf" and hexadecimal forms are not
// numbers here.
bool parse_float(const char* line, double* out) {
  char buf[128];
  if (!trimmed(line, buf, sizeof buf)) return false;
  const char* p = buf + (buf[0] == '+' || buf[0] == '-');
  int digits = 0;
  while (*p >= '0' && *p <= '9') p++, digits++;
  if (*p == '.') {
    p++;
    while (*p >= '0' && *p <= '9') p++, digits++;
  }
  if (digits == 0) return false;
  if (*p == 'e' || *p == 'E') {
    p++;
    if (*p == '+' || *p == '-') p++;
    if (*p < '0' || *p > '9') return false;
    while (*p >= '0' && *p <= '9') p++;
  }
  if (*p) return false;
  *out = strtod(buf, nullptr);
  return true;
}

}  // namespace

// (GETSTRING [prompt]): the next line typed.
Node* bi_getstring() {
  Node* prompt = prompt_arg();
  const char* line = ask_for_line(prompt);
  return line ? make_string_from(line) : nullptr;
}

// (GETINT [prompt]): asks until the reply is an integer.
Node* bi_getint() {
  Node* prompt = prompt_arg();
  for (;;) {
    const char* line = ask_for_line(prompt);
    if (!line) return nullptr;
    int32_t v;
    if (parse_integer(line, &v)) return make_fixnum(v);
    complain("Requires an integer value.\n");
  }
}

// (GETFLOAT [prompt]): asks until the reply is a number; always a FLONUM.
Node* bi_getfloat() {
  Node* prompt = prompt_arg();
  for (;;) {
    const char* line = ask_for_line(prompt);
    if (!line) return nullptr;
    double v;
    if (parse_float(line, &v)) return make_flonum(v);
    complain("Requires a float value.\n");
  }
}

// (GETNUM [prompt]): an integer reply gives a FIXNUM, another number a
// FLONUM.
Node* bi_getnum() {
  Node* prompt = prompt_arg();
  for (;;) {
    const char* line = ask_for_line(prompt);
    if (!line) return nullptr;
    int32_t i;
    double v;
    if (parse_integer(line, &i)) return make_fixnum(i);
    if (parse_float(line, &v)) return make_flonum(v);
    complain("Requires a number value.\n");
  }
}

// (ASKBOX question): the answer as a new string, NIL when cancelled.
Node* bi_askbox() {
  Node* question = next_arg();
  last_arg();
  if (!stringp(question)) bad_argument(question);
  if (!console.ask) return nullptr;
  const char* answer = nullptr;
  bool got = console.ask(console.context, question->u.str, &answer);
  poll_user_break();
  return got ? make_string_from(answer) : nullptr;
}

}  // namespace velloq
