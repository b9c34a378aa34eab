// Input and output built-ins and string streams.
#include <cstring>

#include "builtin_handlers.h"
#include "errors.h"
#include "file_streams.h"
#include "eval.h"
#include "printer.h"
#include "reader.h"
#include "streams.h"
#include "symbols.h"

namespace velloq {

static Node* output_arg() {
  if (!more_args()) return standard_output();
  Node* s = check_stream(next_arg());
  last_arg();
  return s;
}

static Node* input_arg() {
  if (!more_args()) return standard_input();
  return check_stream(next_arg());
}

Node* bi_read() {
  Node* s = input_arg();
  Node* eof = more_args() ? next_arg() : nullptr;
  last_arg();
  PROTECT(s);
  PROTECT(eof);
  Node* v = nullptr;
  PROTECT(v);
  bool found = read_value(s, &v);
  UNPROTECT(3);
  return found ? v : eof;
}

Node* bi_print() {
  Node* x = next_arg();
  Node* s = output_arg();
  print_node(s, x, true);
  stream_put_char(s, '\n');
  return x;
}

Node* bi_prin1() {
  Node* x = next_arg();
  Node* s = output_arg();
  print_node(s, x, true);
  return x;
}

Node* bi_princ() {
  Node* x = next_arg();
  Node* s = output_arg();
  print_node(s, x, false);
  return x;
}

Node* bi_pprint() {
  Node* x = next_arg();
  Node* s = output_arg();
  pprint_node(s, x);
  return x;
}

Node* bi_terpri() {
  Node* s = output_arg();
  stream_put_char(s, '\n');
  return nullptr;
}

static Node* flat(bool escape) {
  Node* x = next_arg();
  last_arg();
  long before = output_count;
  print_node(nullptr, x, escape);
  return make_fixnum((int32_t)(output_count - before));
}

Node* bi_flatsize() { return flat(true); }
Node* bi_flatc() { return flat(false); }

// (OPEN name [/DIRECTION /INPUT|/OUTPUT])
Node* bi_open() {
  Node* name = next_arg();
  const char* path;
  if (stringp(name)) path = name->u.str;
  else if (symbolp(name)) path = symbol_name(name);
  else bad_argument(name);
  const char* mode = "r";
  while (more_args()) {
    Node* key = next_arg();
    Node* v = next_arg();
    if (key != s_direction) bad_argument(key);
    if (v == s_input) mode = "r";
    else if (v == s_output) mode = "w";
    else report_error("bad direction", v);
  }
  // The path is copied: opening allocates, which may move no string but
  // may free the name's node once the argument is no longer needed.
  char copy[1024];
  if (strlen(path) >= sizeof copy) return nullptr;
  strcpy(copy, path);
  return open_file_stream(copy, mode);
}

Node* bi_close() {
  Node* s = next_arg();
  last_arg();
  if (!s || s->kind != K_FSTREAM) bad_argument(s);
  if (!s->u.fp || (s->flags & F_CONSOLE)) report_error("file not open", s);
  close_file_stream(s);
  return nullptr;
}

Node* bi_read_char() {
  Node* s = input_arg();
  last_arg();
  int c = stream_get_char(s);
  return c < 0 ? nullptr : make_character(c);
}

// (PEEK-CHAR [skip-white-space [stream]])
Node* bi_peek_char() {
  Node* skip = more_args() ? next_arg() : nullptr;
  Node* s = input_arg();
  last_arg();
  int c = stream_get_char(s);
  if (skip)
    while (c >= 0 && char_class(c) == s_white_space) c = stream_get_char(s);
  stream_unget_char(s, c);
  return c < 0 ? nullptr : make_character(c);
}

Node* bi_write_char() {
  Node* c = next_arg();
  if (!charp(c)) bad_argument(c);
  Node* s = output_arg();
  stream_put_char(s, c->num);
  return c;
}

Node* bi_read_byte() {
  Node* s = input_arg();
  last_arg();
  int c = stream_get_char(s);
  return c < 0 ? nullptr : make_fixnum(c);
}

Node* bi_write_byte() {
  Node* b = next_arg();
  if (!fixnump(b)) bad_argument(b);
  Node* s = output_arg();
  stream_put_char(s, b->num & 255);
  return b;
}

// A line without its end (LF or CR LF); NIL at the end of the stream.
Node* bi_read_line() {
  Node* s = input_arg();
  last_arg();
  PROTECT(s);
  Node* q = make_unnamed_stream();
  PROTECT(q);
  int c = stream_get_char(s);
  if (c < 0) {
    UNPROTECT(2);
    return nullptr;
  }
  while (c >= 0 && c != '\n') {
    if (c == '\r') {
      int d = stream_get_char(s);
      if (d == '\n') break;
      stream_unget_char(s, d);
    }
    stream_put_char(q, c);
    output_count--;  // reading is not output
    c = stream_get_char(s);
  }
  Node* r = ustream_take_string(q);
  UNPROTECT(2);
  return r;
}

// (MAKE-STRING-INPUT-STREAM string [start [end]])
Node* bi_make_string_input_stream() {
  Node* str = string_arg();
  int32_t len = string_length(str);
  int32_t start = 0, end = len;
  if (more_args()) {
    Node* a = next_arg();
    if (!fixnump(a)) bad_argument(a);
    if (a->num < 0 || a->num > len) report_error("string index out of bounds", a);
    start = a->num;
  }
  if (more_args()) {
    Node* e = next_arg();
    if (!fixnump(e)) bad_argument(e);
    if (e->num < start || e->num > len) report_error("string index out of bounds", e);
    end = e->num;
  }
  last_arg();
  Node* q = make_unnamed_stream();
  PROTECT(q);
  for (int32_t i = start; i < end; i++) stream_put_char(q, (unsigned char)str->u.str[i]);
  output_count -= end - start;
  UNPROTECT(1);
  return q;
}

Node* bi_make_string_output_stream() {
  last_arg();
  return make_unnamed_stream();
}

static Node* ustream_arg() {
  Node* s = next_arg();
  last_arg();
  if (!s || s->kind != K_USTREAM) bad_argument(s);
  return s;
}

Node* bi_get_output_stream_string() { return ustream_take_string(ustream_arg()); }
Node* bi_get_output_stream_list() { return ustream_take_list(ustream_arg()); }

}  // namespace velloq
