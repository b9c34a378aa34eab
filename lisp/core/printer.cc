// Printing nodes.
#include "printer.h"

#include <cstdio>
#include <cstring>

#include "builtins.h"
#include "eval.h"
#include "errors.h"
#include "reader.h"
#include "streams.h"
#include "symbols.h"

namespace velloq {

// From an opening parenthesis up to the next closing one printed, the owner
// path of symbols is left out.
static bool printer_in_list = false;  // cleared when a context is resumed

int print_nesting = 0;

void reset_printer_state() { printer_in_list = false; }

// Reads the digits of a width or a precision at *p, moving past them: at
// most four digits (so no count can overflow) for a value of at most 200,
// which the number buffers hold.
static bool read_format_number(const char** p) {
  int value = 0, digits = 0;
  for (; **p >= '0' && **p <= '9'; (*p)++) {
    if (++digits > 4) return false;
    value = value * 10 + (**p - '0');
  }
  return value <= 200;
}

bool valid_number_format(const char* fmt, char kind) {
  int conversions = 0;
  size_t len = strlen(fmt);
  if (len > 100) return false;
  for (const char* p = fmt; *p; p++) {
    if (*p != '%') continue;
    p++;
    if (*p == '%') continue;
    while (*p && strchr("-+ #0", *p)) p++;
    if (!read_format_number(&p)) return false;
    if (*p == '.') {
      p++;
      if (!read_format_number(&p)) return false;
    }
    if (kind == 'i') {
      if (*p != 'l') return false;  // the value is passed as a long
      p++;
      if (!*p || !strchr("dioxXu", *p)) return false;
    } else {
      if (*p == 'l') p++;
      if (!*p || !strchr("eEfFgGaA", *p)) return false;
    }
    conversions++;
  }
  return conversions == 1;
}

static const char* number_format(Node* var, const char* initial, char kind) {
  Node* f = symbol_value(var);
  if (stringp(f) && (int)strlen(f->u.str) == string_length(f) && valid_number_format(f->u.str, kind))
    return f->u.str;
  return initial;
}

void format_fixnum(char* buf, int size, int32_t v) {
  const char* fmt = number_format(s_integer_format, "%ld", 'i');
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  snprintf(buf, (size_t)size, fmt, (long)v);
#pragma GCC diagnostic pop
}

void format_flonum(char* buf, int size, double v) {
  const char* fmt = number_format(s_float_format, "%g", 'f');
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  snprintf(buf, (size_t)size, fmt, v);
#pragma GCC diagnostic pop
}

static bool lower_letter(unsigned char c) { return (c >= 'a' && c <= 'z') || c >= 224; }
static bool upper_letter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 192 && c <= 223); }

static bool constituent(unsigned char c) { return char_class(c) == s_constituent; }
static bool nmacro(unsigned char c) {
  Node* k = char_class(c);
  return consp(k) && car(k) == s_nmacro;
}

static void print_symbol_name(Node* out, const char* name, bool escape) {
  if (!escape) {
    stream_put_string(out, name);
    return;
  }
  const unsigned char* n = reinterpret_cast<const unsigned char*>(name);
  // An empty name would print as nothing at all; bars keep it readable.
  bool bars = n[0] == 0;
  if (n[0] && constituent(n[0]))
    for (const unsigned char* p = n; *p; p++)
      if (lower_letter(*p) || (!constituent(*p) && !nmacro(*p))) bars = true;
  if (bars) {
    stream_put_char(out, '|');
    for (const unsigned char* p = n; *p; p++) {
      if (*p == '\\' || *p == '|') stream_put_char(out, '\\');
      stream_put_char(out, *p);
    }
    stream_put_char(out, '|');
    return;
  }
  if (n[0] == '#' || n[0] == '.' || has_number_syntax(name)) stream_put_char(out, '\\');
  bool down = symbol_value(s_print_case) == s_downcase;
  for (const unsigned char* p = n; *p; p++) {
    if (*p == '\\' || *p == '|') stream_put_char(out, '\\');
    int c = *p;
    if (down && upper_letter(*p)) c = c + 32;
    stream_put_char(out, c);
  }
}

static void print_symbol(Node* out, Node* sym, bool escape) {
  if (!printer_in_list) {
    // The owner chain, outermost first (bounded against cycles).
    Node* chain[32];
    int n = 0;
    for (Node* o = slot(sym, S_OWNER); symbolp(o) && n < 32; o = slot(o, S_OWNER)) chain[n++] = o;
    while (n > 0) {
      print_symbol_name(out, symbol_name(chain[--n]), escape);
      stream_put_char(out, '^');
    }
  }
  print_symbol_name(out, symbol_name(sym), escape);
}

static void print_string(Node* out, Node* s, bool escape) {
  int32_t len = string_length(s);
  if (!escape) {
    stream_put_bytes(out, s->u.str, len);
    return;
  }
  stream_put_char(out, '"');
  for (int32_t i = 0; i < len; i++) {
    if ((i & 4095) == 4095) poll_step();
    unsigned char c = (unsigned char)s->u.str[i];
    char buf[8];
    if (c == '\\') stream_put_string(out, "\\\\");
    else if (c == '\t') stream_put_string(out, "\\t");
    else if (c == '\n') stream_put_string(out, "\\n");
    else if (c == '\f') stream_put_string(out, "\\f");
    else if (c == '\r') stream_put_string(out, "\\r");
    else if (c >= 32 && c <= 126) stream_put_char(out, c);
    else {
      snprintf(buf, sizeof buf, "\\%03o", c);
      stream_put_string(out, buf);
    }
  }
  stream_put_char(out, '"');
}

static void print_address(Node* out, const char* label, const char* name, Node* x) {
  char buf[160];
  if (name) snprintf(buf, sizeof buf, "[%s-%s: #%lx]", label, name, (unsigned long)(uintptr_t)x);
  else snprintf(buf, sizeof buf, "[%s: #%lx]", label, (unsigned long)(uintptr_t)x);
  stream_put_string(out, buf);
}

static void print_closure(Node* out, Node* c, bool escape) {
  Node* name = slot(c, 0);
  print_address(out, "Closure", symbolp(name) ? symbol_name(name) : nullptr, c);
  static const char* labels[] = {"\nName:   ", "\nType:   ", "\nLambda: ", "\nArgs:   ",
                                 "\nOargs:  ", "\nRest:   ", "\nKargs:  ", "\nAargs:  ",
                                 "\nBody:   ", "\nEnv:    ", "\nFenv:   "};
  static const int slots[] = {0, 1, 10, 2, 3, 4, 5, 6, 7, 8, 9};
  for (int i = 0; i < 11; i++) {
    stream_put_string(out, labels[i]);
    print_node(out, slot(c, slots[i]), escape);
  }
}

static void print_list(Node* out, Node* x, bool escape) {
  stream_put_char(out, '(');
  printer_in_list = true;
  // More elements than there are nodes: the list is circular.
  long left = mem_stats.total_nodes + 1;
  for (;;) {
    poll_step();
    print_node(out, car(x), escape);
    x = cdr(x);
    if (!x) break;
    if (--left <= 0) {
      stream_put_string(out, " ...");
      break;
    }
    if (!consp(x)) {
      stream_put_string(out, " . ");
      print_node(out, x, escape);
      break;
    }
    stream_put_char(out, ' ');
  }
  stream_put_char(out, ')');
  printer_in_list = false;
}

void print_node(Node* out, Node* x, bool escape) {
  char buf[256];
  if (!x) {
    print_symbol_name(out, "NIL", escape);
    return;
  }
  // Each level holds a protection entry, and the nesting is bounded: deep
  // nesting ends with "evaluation stack overflow" instead of exhausting the
  // native stack.
  PROTECT(x);
  PROTECT(out);
  if (print_nesting >= DATA_NESTING_LIMIT) report_error("evaluation stack overflow");
  print_nesting++;
  switch (x->kind) {
    case K_FREE: print_address(out, "Free", nullptr, x); break;
    case K_SUBR: case K_FSUBR: {
      const char* name = x->num >= 0 && x->num < BUILTIN_COUNT ? builtin_table[x->num].name : nullptr;
      print_address(out, x->kind == K_SUBR ? "Subr" : "FSubr", name ? name : "", x);
      break;
    }
    case K_CONS: print_list(out, x, escape); break;
    case K_SYMBOL: print_symbol(out, x, escape); break;
    case K_FIXNUM: format_fixnum(buf, sizeof buf, x->num); stream_put_string(out, buf); break;
    case K_FLONUM: format_flonum(buf, sizeof buf, x->u.flo); stream_put_string(out, buf); break;
    case K_STRING: print_string(out, x, escape); break;
    case K_FSTREAM: print_address(out, "File-Stream", nullptr, x); break;
    case K_ARRAY:
      stream_put_string(out, "#(");
      for (int32_t i = 0; i < x->num; i++) {
        poll_step();  // a vector may be long enough to want the break
        if (i) stream_put_char(out, ' ');
        print_node(out, slot(x, i), escape);
      }
      stream_put_char(out, ')');
      break;
    case K_CLOSURE: print_closure(out, x, escape); break;
    case K_CHAR:
      if (!escape) stream_put_char(out, x->num);
      else if (x->num == '\n') stream_put_string(out, "#\\Newline");
      else if (x->num == ' ') stream_put_string(out, "#\\Space");
      else {
        stream_put_string(out, "#\\");
        stream_put_char(out, x->num);
      }
      break;
    case K_USTREAM: print_address(out, "Unnamed-Stream", nullptr, x); break;
    case K_FRAME: {
      Node* name = slot(x, FR_NAME);
      stream_put_char(out, '[');
      if (symbolp(name)) {
        stream_put_string(out, symbol_name(name));
        stream_put_string(out, ": ");
      } else {
        stream_put_string(out, "FRAME: ");
      }
      print_node(out, slot(x, FR_SLOTS), escape);
      stream_put_char(out, ']');
      break;
    }
    default: break;
  }
  print_nesting--;
  UNPROTECT(2);
}

// ---- pretty printing ----

static long flat_width(Node* x) {
  long before = output_count;
  print_node(nullptr, x, true);
  return output_count - before;
}

static void pprint_at(Node* out, Node* x, int column) {
  enum { WIDTH = 72 };
  if (!consp(x) || column + flat_width(x) <= WIDTH) {
    long before = output_count;
    print_node(out, x, true);
    (void)before;
    return;
  }
  PROTECT(x);
  stream_put_char(out, '(');
  printer_in_list = true;
  int inner = column + 1;
  bool first = true;
  for (Node* l = x; l; l = cdr(l)) {
    if (!consp(l)) {
      stream_put_string(out, " . ");
      print_node(out, l, true);
      break;
    }
    if (!first) {
      stream_put_char(out, '\n');
      for (int i = 0; i < inner; i++) stream_put_char(out, ' ');
    }
    pprint_at(out, car(l), inner);
    first = false;
  }
  stream_put_char(out, ')');
  printer_in_list = false;
  UNPROTECT(1);
}

void pprint_node(Node* out, Node* x) {
  pprint_at(out, x, 0);
  stream_put_char(out, '\n');
}

}  // namespace velloq
