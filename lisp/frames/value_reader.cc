// The value reader of database files: the inverse of the database printer.
// It never raises for bad text: every failure comes back as a message and
// the caller skips the value.  Nesting is bounded, so no text can exhaust
// the native stack.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "databases.h"
#include "frames.h"
#include "symbols.h"

namespace velloq {

static const int kMaxDepth = 200;

struct Text {
  const char* p;
  const char* end;
  const char* message;
};

static bool fail(Text* t, const char* message) {
  if (!t->message) t->message = message;
  return false;
}

static void skip_blanks(Text* t) {
  while (t->p < t->end && (*t->p == ' ' || *t->p == '\t' || *t->p == '\r' || *t->p == '\n')) t->p++;
}

static bool delimiter(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '(' || c == ')' || c == '"' || c == '\'';
}

static bool read_form(Text* t, Node** out, int depth);

// Appends x to the list whose last cell is *tail (head in *head).
static void append(Node** head, Node** tail, Node* x) {
  Node* cell = make_cons(x, nullptr);
  if (!*head) *head = cell;
  else (*tail)->u.c.cdr = cell;
  *tail = cell;
}

static bool read_list(Text* t, Node** out, int depth) {
  Node* head = nullptr;
  Node* tail = nullptr;
  Node* x = nullptr;
  PROTECT(head);
  PROTECT(x);
  bool ok = true;
  for (;;) {
    skip_blanks(t);
    if (t->p >= t->end) {
      ok = fail(t, "unexpected end of text");
      break;
    }
    if (*t->p == ')') {
      t->p++;
      break;
    }
    if (*t->p == '.' && t->p + 1 < t->end && delimiter(t->p[1])) {
      t->p++;
      if (!head || !read_form(t, &x, depth + 1)) {
        ok = fail(t, "invalid dotted pair");
        break;
      }
      tail->u.c.cdr = x;
      skip_blanks(t);
      if (t->p >= t->end || *t->p != ')') {
        ok = fail(t, "invalid dotted pair");
        break;
      }
      t->p++;
      break;
    }
    if (!read_form(t, &x, depth + 1)) {
      ok = false;
      break;
    }
    append(&head, &tail, x);
  }
  *out = head;
  UNPROTECT(2);
  return ok;
}

static bool read_vector(Text* t, Node** out, int depth) {
  Node* items = nullptr;
  PROTECT(items);
  bool ok = read_list(t, &items, depth);
  if (ok) {
    int32_t n = 0;
    for (Node* l = items; consp(l); l = cdr(l)) n++;
    if (n > 0 && cdr(items) && !consp(cdr(items))) ok = fail(t, "invalid dotted pair");
    if (ok) {
      Node* v = make_vector(n);
      int32_t i = 0;
      for (Node* l = items; consp(l); l = cdr(l)) set_slot(v, i++, car(l));
      *out = v;
    }
  }
  UNPROTECT(1);
  return ok;
}

static bool octal(char c) { return c >= '0' && c <= '7'; }

static bool read_string(Text* t, Node** out) {
  // The escapes only shorten the text, so its length bounds the result.
  Node* s = make_string_of_size((int32_t)(t->end - t->p) + 1);
  PROTECT(s);
  char* d = s->u.str;
  int32_t n = 0;
  bool ok = false;
  while (t->p < t->end) {
    char c = *t->p++;
    if (c == '"') {
      ok = true;
      break;
    }
    if (c == '\\') {
      if (t->p >= t->end) break;
      c = *t->p++;
      if (c == 'n') c = '\n';
      else if (c == 't') c = '\t';
      else if (c == 'r') c = '\r';
      else if (c >= '0' && c <= '9') {
        int v = 0;
        const char* start = t->p - 1;
        for (const char* q = start; q < start + 3; q++) {
          if (q >= t->end || !octal(*q)) {
            UNPROTECT(1);
            return fail(t, "invalid octal digit");
          }
          v = v * 8 + (*q - '0');
        }
        t->p = start + 3;
        c = (char)v;
      }
    }
    d[n++] = c;
  }
  if (!ok) {
    UNPROTECT(1);
    return fail(t, "unterminated string");
  }
  Node* r = make_string_bytes(d, n);
  UNPROTECT(1);
  *out = r;
  return true;
}

// A token that is a whole number or a float, as the printer writes them.
static bool parse_number(const char* token, Node** out) {
  char* end = nullptr;
  errno = 0;
  long v = strtol(token, &end, 10);
  if (*token && *end == 0 && end != token) {
    if (errno == 0 && v >= INT32_MIN && v <= INT32_MAX) {
      *out = make_fixnum((int32_t)v);
      return true;
    }
  }
  const char* q = token;
  if (*q == '+' || *q == '-') q++;
  if (!((*q >= '0' && *q <= '9') || (*q == '.' && q[1] >= '0' && q[1] <= '9'))) return false;
  double d = strtod(token, &end);
  if (*end != 0) return false;
  *out = make_flonum(d);
  return true;
}

// A symbol name, possibly OWNER^SLOT^...; quoted gives the symbol (the
// slot), bare the value.
static bool read_name(Text* t, Node** out, bool quoted) {
  const char* start = t->p;
  while (t->p < t->end && !delimiter(*t->p)) t->p++;
  long len = t->p - start;
  if (len == 0) return fail(t, "illegal character");
  if (len > 512) return fail(t, "name too long");
  char token[513];
  memcpy(token, start, (size_t)len);
  token[len] = 0;
  if (!quoted && parse_number(token, out)) return true;
  if (strcmp(token, "$$") == 0 || strncmp(token, "$$", 2) == 0) return fail(t, "illegal character");
  char* part = token;
  char* caret = strchr(part, '^');
  if (caret) *caret = 0;
  if (!*part) return fail(t, "illegal character");
  Node* current = intern_name(part);
  PROTECT(current);
  bool ok = true;
  while (caret && ok) {
    part = caret + 1;
    caret = strchr(part, '^');
    if (caret) *caret = 0;
    if (!*part) {
      ok = fail(t, "illegal character");
      break;
    }
    Node* name = intern_name(part);
    Node* owner = symbolp(current) ? symbol_value(current) : nullptr;
    current = framep(owner) ? own_slot(owner, name) : nullptr;
    if (!current) ok = fail(t, "unknown slot");
  }
  Node* result = current;
  if (ok && !quoted && symbolp(current) && symbol_value(current)) result = symbol_value(current);
  UNPROTECT(1);
  *out = result;
  return ok;
}

static bool read_form(Text* t, Node** out, int depth) {
  *out = nullptr;
  if (depth > kMaxDepth) return fail(t, "nesting too deep");
  skip_blanks(t);
  if (t->p >= t->end) return fail(t, "unexpected end of text");
  char c = *t->p;
  if (c == '(') {
    t->p++;
    return read_list(t, out, depth);
  }
  if (c == '#' && t->p + 1 < t->end && t->p[1] == '(') {
    t->p += 2;
    return read_vector(t, out, depth);
  }
  if (c == '"') {
    t->p++;
    return read_string(t, out);
  }
  if (c == '\'') {
    t->p++;
    return read_name(t, out, true);
  }
  if (c == ')' || c == '#') return fail(t, "illegal character");
  if (c == 'N' && t->end - t->p >= 3 && !strncmp(t->p, "NIL", 3) &&
      (t->end - t->p == 3 || delimiter(t->p[3]))) {
    t->p += 3;
    return true;
  }
  return read_name(t, out, false);
}

bool read_db_forms(const char* text, long len, Node** out, const char** message) {
  Text t{text, text + len, nullptr};
  Node* head = nullptr;
  Node* tail = nullptr;
  Node* x = nullptr;
  PROTECT(head);
  PROTECT(x);
  bool ok = true;
  for (;;) {
    skip_blanks(&t);
    if (t.p >= t.end) break;
    if (!read_form(&t, &x, 0)) {
      ok = false;
      break;
    }
    append(&head, &tail, x);
  }
  UNPROTECT(2);
  *out = ok ? head : nullptr;
  if (message) *message = t.message;
  return ok;
}

}  // namespace velloq
