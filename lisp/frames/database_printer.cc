// The database printer: every value in a form the value reader turns back
// into it.  Floats keep all their digits and a decimal point; strings
// escape quotes, backslashes and control characters; circular or very deep
// structures are cut with a form that does not read back, so printing
// always ends.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "databases.h"
#include "frames.h"
#include "symbols.h"

namespace velloq {

enum { CLOSURE_REQ = 2, CLOSURE_BODY = 7 };
static const int kMaxDepth = 200;
static const long kMaxCells = 1000000;

static void print_name(std::string& out, Node* sym) {
  Node* o = slot(sym, S_OWNER);
  if (symbolp(o) && o != sym) {  // a slot: its owner path, so it reads back as the slot
    print_name(out, o);
    out += '^';
  }
  out += symbol_name(sym);
}

static void print_flonum(std::string& out, double d) {
  char buf[64];
  if (std::isinf(d)) {
    out += d > 0 ? "1e999" : "-1e999";
    return;
  }
  snprintf(buf, sizeof buf, "%.15g", d);
  if (strtod(buf, nullptr) != d) snprintf(buf, sizeof buf, "%.17g", d);
  out += buf;
  if (!strpbrk(buf, ".eEn")) out += ".0";
}

static void print_string(std::string& out, Node* s) {
  out += '"';
  const unsigned char* p = (const unsigned char*)s->u.str;
  for (int32_t i = 0; i < string_length(s); i++) {
    unsigned char c = p[i];
    if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\r') out += "\\r";
    else if (c == '"' || c == '\\') { out += '\\'; out += (char)c; }
    else if (c < 32 || c == 127) {
      char buf[8];
      snprintf(buf, sizeof buf, "\\%03o", c);
      out += buf;
    } else out += (char)c;
  }
  out += '"';
}

static void print_value(std::string& out, Node* x, int depth, long* budget);

static void print_body(std::string& out, Node* c, int depth, long* budget) {
  Node* body = slot(c, CLOSURE_BODY);
  if (!body) {
    out += "<null body>";
    return;
  }
  for (Node* l = body; consp(l); l = cdr(l)) {
    if (l != body) out += ' ';
    print_value(out, car(l), depth + 1, budget);
  }
}

static void print_value(std::string& out, Node* x, int depth, long* budget) {
  if (--*budget < 0 || depth > kMaxDepth) {
    out += "$$0$$";
    return;
  }
  if (!x) {
    out += "NIL";
    return;
  }
  char buf[32];
  switch (x->kind) {
    case K_CONS: {
      out += '(';
      Node* l = x;
      for (bool first = true; consp(l); l = cdr(l), first = false) {
        if (!first) out += ' ';
        if (--*budget < 0) {
          out += "$$0$$";
          break;
        }
        print_value(out, car(l), depth + 1, budget);
      }
      if (l && !consp(l)) {
        out += " . ";
        print_value(out, l, depth + 1, budget);
      }
      out += ')';
      break;
    }
    case K_SYMBOL:
      if (symbol_value(x) != x) out += '\'';
      print_name(out, x);
      break;
    case K_FIXNUM:
      snprintf(buf, sizeof buf, "%d", x->num);
      out += buf;
      break;
    case K_FLONUM: print_flonum(out, x->u.flo); break;
    case K_STRING: print_string(out, x); break;
    case K_ARRAY:
      out += "#(";
      for (int32_t i = 0; i < x->num; i++) {
        if (i) out += ' ';
        print_value(out, slot(x, i), depth + 1, budget);
      }
      out += ')';
      break;
    case K_FRAME:
      if (symbolp(slot(x, FR_NAME))) out += symbol_name(slot(x, FR_NAME));
      else out += "NIL";
      break;
    case K_CLOSURE: print_body(out, x, depth, budget); break;
    default:
      snprintf(buf, sizeof buf, "$$%d$$", x->kind);
      out += buf;
      break;
  }
}

void print_db_value(std::string& out, Node* x) {
  long budget = kMaxCells;
  print_value(out, x, 0, &budget);
}

// The symbols a value refers to (a frame by its name), system symbols
// left out, each after a blank.
static void collect_externs(std::string& out, Node* x, int depth, long* budget) {
  while (x && depth <= kMaxDepth && --*budget >= 0) {
    if (consp(x)) {
      collect_externs(out, car(x), depth + 1, budget);
      x = cdr(x);
      continue;
    }
    if (arrayp(x)) {
      for (int32_t i = 0; i < x->num; i++) collect_externs(out, slot(x, i), depth + 1, budget);
    } else {
      Node* s = framep(x) ? slot(x, FR_NAME) : x;
      if (symbolp(s) && !get_property(s, s_keyword)) {
        out += ' ';
        out += symbol_name(s);
      }
    }
    return;
  }
}

static void print_slot_line(std::string& out, Node* s) {
  Node* fn = symbol_function(s);
  if (!fn || symbol_value(s)) {
    out += symbol_name(s);
    out += " :\t";
    print_db_value(out, symbol_value(s));
    out += '\n';
  }
  if (!fn) return;
  out += '(';
  out += symbol_name(s);
  if (closurep(fn))
    for (Node* p = slot(fn, CLOSURE_REQ); consp(p); p = cdr(p))
      if (symbolp(car(p))) {
        out += ' ';
        out += symbol_name(car(p));
      }
  out += ") :\t";
  long budget = kMaxCells;
  if (closurep(fn)) print_body(out, fn, 0, &budget);
  else print_value(out, fn, 0, &budget);
  out += '\n';
}

void print_db_record(std::string& out, Node* f) {
  out += "#BEGIN ";
  out += symbolp(slot(f, FR_NAME)) ? symbol_name(slot(f, FR_NAME)) : "NIL";
  out += '\n';
  std::string externs;
  long budget = kMaxCells;
  for (Node* l = slot(f, FR_SLOTS); consp(l); l = cdr(l))
    if (symbolp(car(l))) collect_externs(externs, symbol_value(car(l)), 0, &budget);
  if (!externs.empty()) {
    out += "#EXTERN";
    out += externs;
    out += '\n';
  }
  for (Node* l = slot(f, FR_SLOTS); consp(l); l = cdr(l))
    if (symbolp(car(l))) print_slot_line(out, car(l));
  out += "#END\n\n";
}

}  // namespace velloq
