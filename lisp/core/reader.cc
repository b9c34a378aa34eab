// Reading expressions from character streams.
#include "reader.h"

#include <cstdlib>
#include <cstring>

#include "builtins.h"
#include "context.h"
#include "cp1251.h"
#include "errors.h"
#include "frame_access.h"
#include "eval.h"
#include "streams.h"
#include "symbols.h"

namespace velloq {


enum { TOKEN_MAX = 100 };
static char token[TOKEN_MAX + 1];
static bool reading_path = false;    // inside the slot name of a caret path
static bool token_ended_by_caret = false;

Node* char_class(int c) {
  Node* table = symbol_value(s_readtable);
  if (c < 0 || !arrayp(table) || table->num != 256) return nullptr;
  return slot(table, c);
}

static bool is_constituent_or_nmacro(int c) {
  Node* k = char_class(c);
  if (k == s_constituent) return true;
  return consp(k) && car(k) == s_nmacro;
}

// Digits, an optional point with digits, an optional exponent: the reader's
// number syntax.  Sets *is_float when the result would be a flonum.
static bool number_syntax(const char* t, bool* is_float) {
  const char* p = t;
  if (*p == '+' || *p == '-') p++;
  int before = 0, after = 0, expd = 0;
  bool point = false;
  while (*p >= '0' && *p <= '9') { p++; before++; }
  if (*p == '.') {
    point = true;
    p++;
    while (*p >= '0' && *p <= '9') { p++; after++; }
  }
  if (before + after == 0) return false;
  if (*p == 'E' || *p == 'e') {
    p++;
    if (*p == '+' || *p == '-') p++;
    while (*p >= '0' && *p <= '9') { p++; expd++; }
    if (!expd) return false;
  }
  (void)point;
  if (*p) return false;
  if (is_float) *is_float = after > 0 || expd > 0;
  return true;
}

bool has_number_syntax(const char* text) { return number_syntax(text, nullptr); }

[[noreturn]] static void integer_out_of_range(const char* text) {
  report_error("integer out of range", make_string_from(text));
}

// A decimal integer outside the 32-bit fixnum range is refused, never
// wrapped.
static Node* parse_number(const char* text) {
  bool is_float = false;
  number_syntax(text, &is_float);
  const char* t = text;
  if (*t == '+') t++;
  if (is_float) return make_flonum(strtod(t, nullptr));
  bool neg = *t == '-';
  if (neg) t++;
  uint64_t v = 0;
  const uint64_t limit = neg ? (uint64_t)INT32_MAX + 1 : (uint64_t)INT32_MAX;
  for (; *t >= '0' && *t <= '9'; t++) {
    v = v * 10u + (uint64_t)(*t - '0');
    if (v > limit) integer_out_of_range(text);
  }
  return make_fixnum(neg ? (int32_t)(0 - (int64_t)v) : (int32_t)v);
}

static void token_add(int* len, int c) {
  if (*len < TOKEN_MAX) token[(*len)++] = (char)c;
}

// Collects a token; returns whether any escape was seen.  The terminating
// character is pushed back.
static bool collect_token(Node* stream, int* len_out) {
  int len = 0;
  bool escaped = false;
  token_ended_by_caret = false;
  for (;;) {
    int c = stream_get_char(stream);
    if (c < 0) break;
    Node* k = char_class(c);
    if (k == s_sescape) {
      int d = stream_get_char(stream);
      if (d < 0) report_error("unexpected EOF");
      token_add(&len, d);
      escaped = true;
      continue;
    }
    if (k == s_mescape) {
      escaped = true;
      for (;;) {
        int d = stream_get_char(stream);
        if (d < 0) report_error("unexpected EOF");
        Node* kd = char_class(d);
        if (kd == s_mescape) break;
        if (kd == s_sescape) {
          d = stream_get_char(stream);
          if (d < 0) report_error("unexpected EOF");
        }
        token_add(&len, d);
      }
      continue;
    }
    if (c == '^') {
      token_ended_by_caret = true;
      stream_unget_char(stream, c);
      break;
    }
    if (!is_constituent_or_nmacro(c)) {
      stream_unget_char(stream, c);
      break;
    }
    token_add(&len, cp1251::toUpper((unsigned char)c));
  }
  token[len] = 0;
  *len_out = len;
  return escaped;
}

// Follows OWNER^SLOT^... from the symbol just read: each segment names a
// slot of the frame the previous one stands for.
static Node* read_slot_path(Node* stream, Node* sym) {
  Node* current = sym;
  PROTECT(current);
  for (;;) {
    stream_get_char(stream);  // the caret
    Node* name = nullptr;
    PROTECT(name);
    reading_path = true;
    ReadStatus st = read_expression(stream, &name);
    reading_path = false;
    bool again = token_ended_by_caret && symbolp(name);
    if (st == READ_EOF) report_error("unexpected EOF");
    current = frame_slot_path(current, name);
    UNPROTECT(1);
    if (!again) break;
  }
  UNPROTECT(1);
  return current;
}

static Node* read_token(Node* stream) {
  int len = 0;
  bool escaped = collect_token(stream, &len);
  if (len == 0 && !escaped) {
    // A lone caret is taken, so that reading on after the error moves on.
    if (token_ended_by_caret) stream_get_char(stream);
    report_error("zero length name");
  }
  if (!escaped && has_number_syntax(token)) {
    token_ended_by_caret = false;
    return parse_number(token);
  }
  Node* sym = intern_symbol(token);
  if (token_ended_by_caret && !reading_path && sym) return read_slot_path(stream, sym);
  return sym;
}

ReadStatus read_expression(Node* stream, Node** out) {
  *out = nullptr;
  PROTECT(stream);
  int c = stream_get_char(stream);
  ReadStatus status = READ_NOTHING;
  if (c < 0) {
    status = READ_EOF;
  } else {
    Node* k = char_class(c);
    if (k == s_white_space) {
      status = READ_NOTHING;
    } else if (k == s_constituent || k == s_sescape || k == s_mescape) {
      stream_unget_char(stream, c);
      *out = read_token(stream);
      status = READ_VALUE;
    } else if (consp(k) && (car(k) == s_tmacro || car(k) == s_nmacro)) {
      Node* args[2] = {stream, make_character(c)};
      Node* r = call_function(cdr(k), 2, args);
      if (consp(r)) {
        *out = car(r);
        status = READ_VALUE;
      }
    } else {
      report_error("illegal character", make_fixnum(c));
    }
  }
  UNPROTECT(1);
  return status;
}

bool read_value(Node* stream, Node** out) {
  for (;;) {
    ReadStatus st = read_expression(stream, out);
    if (st == READ_EOF) return false;
    if (st == READ_VALUE) return true;
  }
}

// ---- read macros: (stream char) -> NIL or (value) ----

static Node* macro_stream() {
  Node* s = next_arg();
  next_arg();
  last_arg();
  return s;
}

static Node* wrap(Node* v) { return make_cons(v, nullptr); }

static Node* list2(Node* a, Node* b) {
  PROTECT(a);
  Node* tail = make_cons(b, nullptr);
  UNPROTECT(1);
  return make_cons(a, tail);
}

// Reads the next expression; the end of the stream is "unexpected EOF".
static Node* read_required(Node* stream) {
  Node* v = nullptr;
  if (!read_value(stream, &v)) report_error("unexpected EOF");
  return v;
}

Node* rm_quote() {
  Node* s = macro_stream();
  return wrap(list2(s_quote, read_required(s)));
}

Node* rm_backquote() {
  Node* s = macro_stream();
  return wrap(list2(s_backquote, read_required(s)));
}

Node* rm_comma() {
  Node* s = macro_stream();
  Node* head = s_comma;
  int c = stream_get_char(s);
  if (c == '@') head = s_comma_at; else stream_unget_char(s, c);
  return wrap(list2(head, read_required(s)));
}

Node* rm_right_paren() {
  macro_stream();
  report_error("misplaced right paren");
}

Node* rm_comment() {
  Node* s = macro_stream();
  int c;
  while ((c = stream_get_char(s)) >= 0 && c != '\n') {}
  return nullptr;
}

Node* rm_unused() {
  macro_stream();
  return nullptr;
}

Node* rm_read_eval() {
  Node* s = macro_stream();
  return wrap(eval_expr(read_required(s)));
}

// Skips white space; returns the next character without taking it.
static int skip_white(Node* s) {
  for (;;) {
    int c = stream_get_char(s);
    if (c < 0) return c;
    if (char_class(c) != s_white_space) {
      stream_unget_char(s, c);
      return c;
    }
  }
}

int read_nesting = 0;

Node* rm_list() {
  Node* s = macro_stream();
  Node* head = nullptr;
  Node* tail = nullptr;
  PROTECT(s);
  PROTECT(head);
  if (read_nesting >= DATA_NESTING_LIMIT) report_error("argument stack overflow");
  read_nesting++;
  for (;;) {
    poll_step();  // a long list of atoms calls no function that would
    int c = skip_white(s);
    if (c < 0) report_error("unexpected EOF");
    if (c == ')') {
      stream_get_char(s);
      break;
    }
    Node* v = nullptr;
    ReadStatus st = read_expression(s, &v);
    if (st == READ_EOF) report_error("unexpected EOF");
    if (st == READ_NOTHING) continue;
    if (v == s_dot && st == READ_VALUE) {
      if (!head) report_error("invalid dotted pair");
      if (skip_white(s) == ')') report_error("invalid dotted pair");
      PROTECT(v);
      Node* rest = read_required(s);
      UNPROTECT(1);
      tail->u.c.cdr = rest;
      int d = skip_white(s);
      // Comments may stand between the tail and the parenthesis.
      while (d == ';') {
        Node* ignored = nullptr;
        read_expression(s, &ignored);
        d = skip_white(s);
      }
      if (d != ')') report_error("invalid dotted pair");
      stream_get_char(s);
      break;
    }
    Node* cell = make_cons(v, nullptr);
    if (tail) tail->u.c.cdr = cell; else head = cell;
    tail = cell;
  }
  read_nesting--;
  UNPROTECT(2);
  return wrap(head);
}

// The text is gathered in a buffer that counts against the heap ceiling,
// doubled as it fills, before it becomes a string node.
Node* rm_string() {
  Node* s = macro_stream();
  PROTECT(s);
  size_t cap = 128, len = 0;
  char* buf = reserve_heap_bytes(cap) ? static_cast<char*>(malloc(cap)) : nullptr;
  // The buffer is freed before any error can leave this routine.
  const char* failure = buf ? nullptr : "insufficient string space";
  while (!failure) {
    int c = stream_get_char(s);
    if (c < 0) { failure = "unexpected EOF"; break; }
    if (c == '"') break;
    if (c == '\\') {
      c = stream_get_char(s);
      if (c < 0) { failure = "unexpected EOF"; break; }
      if (c == 'f') c = '\f';
      else if (c == 'n') c = '\n';
      else if (c == 'r') c = '\r';
      else if (c == 't') c = '\t';
      else if (c >= '0' && c <= '7') {
        int d1 = stream_get_char(s), d2 = stream_get_char(s);
        if (d1 < '0' || d1 > '7' || d2 < '0' || d2 > '7') { failure = "invalid octal digit"; break; }
        c = ((c - '0') * 64 + (d1 - '0') * 8 + (d2 - '0')) & 255;
      }
    }
    if (len + 1 >= cap) {
      // A string node holds at most 2^31 - 1 bytes with its NUL.
      if (cap >= ((size_t)1 << 30) || !reserve_heap_bytes(cap)) { failure = "insufficient string space"; break; }
      char* nb = static_cast<char*>(realloc(buf, cap * 2));
      if (!nb) {
        release_heap_bytes(cap);
        failure = "insufficient string space";
        break;
      }
      buf = nb;
      cap *= 2;
    }
    buf[len++] = (char)c;
  }
  if (failure) {
    if (buf) release_heap_bytes(cap);
    free(buf);
    report_error(failure);
  }
  // The node's own buffer is made while this one is still counted: copying
  // needs both for a moment.  Should making it fail, the exit passes
  // through here to free this buffer.
  Context ctx;
  begin_context(&ctx, CX_UNWIND, nullptr);
  if (setjmp(ctx.resume)) {
    Context* target = pending_target;
    int kind = pending_kind;
    Node* carried = exit_value;
    end_context(&ctx);
    release_heap_bytes(cap);
    free(buf);
    unwind_to(target, kind, carried);
  }
  Node* str = make_string_of_size((int32_t)len + 1);
  end_context(&ctx);
  memcpy(str->u.str, buf, len);
  str->u.str[len] = 0;
  release_heap_bytes(cap);
  free(buf);
  UNPROTECT(1);
  return wrap(str);
}

// #B, #O, #X: digits valid for the base; the first other character is
// pushed back; no digits give 0.  The digits give the 32 bits of the
// fixnum (#xFFFFFFFF is -1); more bits are a read error naming the literal.
static Node* read_radix(Node* s, int base, char letter) {
  char text[TOKEN_MAX + 3] = {'#', letter};
  int len = 2;
  uint64_t v = 0;
  bool too_big = false;
  for (;;) {
    int c = stream_get_char(s);
    if (c < 0) break;
    int u = cp1251::toUpper((unsigned char)c);
    int d = u >= '0' && u <= '9' ? u - '0' : (u >= 'A' && u <= 'Z' ? u - 'A' + 10 : 99);
    if (d >= base) {
      stream_unget_char(s, c);
      break;
    }
    if (len < TOKEN_MAX + 2) text[len++] = (char)c;
    v = v * (uint64_t)base + (uint64_t)d;
    if (v > UINT32_MAX) {
      too_big = true;
      v = 0;  // the digits are still taken, to the end of the literal
    }
  }
  text[len] = 0;
  if (too_big) integer_out_of_range(text);
  return make_fixnum((int32_t)(uint32_t)v);
}

static Node* read_vector_literal(Node* s) {
  Node* args[2] = {s, make_character('(')};
  Node* l = call_function(cdr(char_class('(')), 2, args);
  Node* elems = consp(l) ? car(l) : nullptr;
  PROTECT(elems);
  int32_t n = 0;
  for (Node* p = elems; consp(p); p = cdr(p)) n++;
  Node* v = make_vector(n);
  int32_t i = 0;
  for (Node* p = elems; consp(p); p = cdr(p)) set_slot(v, i++, car(p));
  UNPROTECT(1);
  return v;
}

static Node* read_char_literal(Node* s) {
  int first = stream_get_char(s);
  if (first < 0) report_error("unexpected EOF");
  // The token after the backslash: its first character is taken literally.
  int len = 0;
  token[len++] = (char)first;
  for (;;) {
    int c = stream_get_char(s);
    if (c < 0) break;
    if (!is_constituent_or_nmacro(c) || c == '^') {
      stream_unget_char(s, c);
      break;
    }
    if (len < TOKEN_MAX) token[len++] = (char)c;
  }
  token[len] = 0;
  if (len == 1) return make_character((unsigned char)token[0]);
  std::string_view name(token, (size_t)len);
  if (cp1251::equalsIgnoreCase(name, "NEWLINE")) return make_character('\n');
  if (cp1251::equalsIgnoreCase(name, "SPACE")) return make_character(' ');
  report_error("unknown character name");
}

static void skip_block_comment(Node* s) {
  int depth = 1;
  int prev = 0;
  for (;;) {
    int c = stream_get_char(s);
    if (c < 0) return;
    if (prev == '|' && c == '#') {
      if (--depth == 0) return;
      c = 0;
    } else if (prev == '#' && c == '|') {
      depth++;
      c = 0;
    }
    prev = c;
  }
}

Node* rm_dispatch() {
  Node* s = macro_stream();
  PROTECT(s);
  int c = stream_get_char(s);
  Node* result = nullptr;
  switch (c) {
    case '\'':
      result = wrap(list2(s_function, read_required(s)));
      break;
    case '(':
      result = wrap(read_vector_literal(s));
      break;
    case '/': {
      int len = 0;
      collect_token(s, &len);
      token_ended_by_caret = false;
      result = wrap(make_symbol(token));
      break;
    }
    case 'B': case 'b': result = wrap(read_radix(s, 2, (char)c)); break;
    case 'O': case 'o': result = wrap(read_radix(s, 8, (char)c)); break;
    case 'X': case 'x': result = wrap(read_radix(s, 16, (char)c)); break;
    case '\\':
      result = wrap(read_char_literal(s));
      break;
    case '|':
      skip_block_comment(s);
      break;
    default:
      if (c < 0) report_error("unexpected EOF");
      report_error("illegal character after #");
  }
  UNPROTECT(1);
  return result;
}

// Class entries: each string's characters get the class symbol.
void init_readtable() {
  Node* table = make_vector(256);
  set_slot(s_readtable, S_VALUE, table);
  const char* white = "\t \f\r\n";
  for (const char* p = white; *p; p++) set_slot(table, (unsigned char)*p, s_white_space);
  const char* cons = "!$%&*+-./0123456789:<=>?@[]^_{}~";
  for (const char* p = cons; *p; p++) set_slot(table, (unsigned char)*p, s_constituent);
  for (int c = 'A'; c <= 'Z'; c++) set_slot(table, c, s_constituent);
  for (int c = 'a'; c <= 'z'; c++) set_slot(table, c, s_constituent);
  for (int c = 192; c <= 255; c++) set_slot(table, c, s_constituent);
  set_slot(table, '\\', s_sescape);
  set_slot(table, '|', s_mescape);
  struct { int ch; int pos; bool terminating; } macros[] = {
      {'#', 0, false}, {'\'', 1, true}, {'"', 2, true}, {'`', 3, true}, {',', 4, true},
      {'(', 5, true}, {')', 6, true}, {';', 7, true}, {'!', 10, true}};
  for (auto& m : macros) {
    Node* fn = builtin_node(m.pos);
    Node* entry = make_cons(m.terminating ? s_tmacro : s_nmacro, fn);
    set_slot(symbol_value(s_readtable), m.ch, entry);
  }
}

}  // namespace velloq
