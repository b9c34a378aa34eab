// Loading database files: records of frames with their slot values and
// methods, read line by line.  Values are read back by the value reader,
// which never raises; a line that is no record line at all raises
// "parsing frame" with the frame's name, which ends the file.
#include <cstdio>
#include <cstring>

#include "context.h"
#include "databases.h"
#include "errors.h"
#include "eval.h"
#include "file_streams.h"
#include "frame_events.h"
#include "frames.h"
#include "streams.h"
#include "symbols.h"

namespace velloq {

enum { MAX_LINE = 65536 };

// Reads one line into buf (without its end), up to size-1 bytes; a longer
// line is read to its end and reported by *too_long.  False at the end of
// the file.
static bool next_line(FILE* fp, char* buf, int size, int* len, bool* too_long) {
  int n = 0;
  int c = 0;
  *too_long = false;
  while ((c = getc(fp)) != EOF && c != '\n') {
    if (n < size - 1) buf[n++] = (char)c;
    else *too_long = true;
  }
  if (c == EOF && n == 0 && !*too_long) return false;
  while (n > 0 && buf[n - 1] == '\r') n--;
  buf[n] = 0;
  *len = n;
  return true;
}

static char* skip_blanks(char* p) {
  while (*p == ' ' || *p == '\t') p++;
  return p;
}

enum { MAX_WORD = 512 };

// Copies the word at p (ended by a blank or a parenthesis) into word;
// returns what follows it.  A longer word comes back empty-handed as "(".
static char* next_word(char* p, char* word) {
  p = skip_blanks(p);
  int n = 0;
  while (*p && *p != ' ' && *p != '\t' && *p != ')' && *p != '(') {
    if (n < MAX_WORD) word[n] = *p;
    n++;
    p++;
  }
  if (n > MAX_WORD) n = 0, word[n++] = '(';
  word[n] = 0;
  return p;
}

static bool starts_word(const char* line, const char* word) {
  size_t n = strlen(word);
  return strncmp(line, word, n) == 0 && (line[n] == 0 || line[n] == ' ' || line[n] == '\t');
}

static void load_externs(char* p) {
  for (;;) {
    char word[MAX_WORD + 1];
    p = next_word(p, word);
    if (!*word) break;
    Node* s = intern_name(word);
    if (s && !symbol_value(s) && !symbol_function(s)) set_slot(s, S_VALUE, s);
  }
}

[[noreturn]] static void parsing_error(Node* frame_name) { report_error("parsing frame", frame_name); }

// A plain name for a parameter or slot: not empty, no number, no NIL, no
// lambda keyword.
static bool plain_name(const char* w) {
  if (!*w || w[0] == '&' || w[0] == '\'' || w[0] == '"' || w[0] == '#') return false;
  if ((w[0] >= '0' && w[0] <= '9') || ((w[0] == '-' || w[0] == '+') && w[1] >= '0' && w[1] <= '9'))
    return false;
  return strcmp(w, "NIL") != 0 && !strchr(w, '^') && !strchr(w, '(');
}

static void load_method(Node* frame_name, char* key, char* text) {
  char word[MAX_WORD + 1];
  char* p = next_word(key + 1, word);
  if (!plain_name(word)) parsing_error(frame_name);
  Node* name = intern_name(word);
  PROTECT(name);
  Node* params = nullptr;
  Node* tail = nullptr;
  PROTECT(params);
  for (;;) {
    p = next_word(p, word);
    if (!*word) {
      p = skip_blanks(p);
      if (*p != ')') report_error("bad argument list", frame_name);
      break;
    }
    if (!plain_name(word)) report_error("bad argument list", frame_name);
    Node* cell = make_cons(intern_name(word), nullptr);
    if (!params) params = cell;
    else tail->u.c.cdr = cell;
    tail = cell;
  }
  Node* body = nullptr;
  PROTECT(body);
  const char* message = nullptr;
  if (read_db_forms(text, (long)strlen(text), &body, &message)) {
    Node* s = find_or_add_slot(symbol_value(frame_name), name);
    if (s) {
      PROTECT(s);
      Node* fn = make_closure(s, s_lambda, params, body, nullptr, nullptr);
      store_function(s, fn);
      UNPROTECT(1);
    }
  }
  UNPROTECT(3);
}

static void load_value(Node* frame_name, char* key, char* text) {
  char word[MAX_WORD + 1];
  next_word(key, word);
  if (!plain_name(word)) parsing_error(frame_name);
  Node* f = symbol_value(frame_name);
  Node* s = find_or_add_slot(f, intern_name(word));
  if (!s) parsing_error(frame_name);
  PROTECT(s);
  Node* forms = nullptr;
  PROTECT(forms);
  const char* message = nullptr;
  if (read_db_forms(text, (long)strlen(text), &forms, &message) && consp(forms) && !cdr(forms)) {
    Node* value = car(forms);
    // A parent not loaded yet is a forward reference: it becomes a frame
    // now and its own record fills it later.
    if (is_inheritance_slot(f, s) && symbolp(value) && !framep(symbol_value(value)))
      value = make_frame(value);
    if (value || !is_inheritance_slot(f, s)) store_value(s, value);
  }
  UNPROTECT(2);
}

static void load_slot_line(Node* frame_name, char* line) {
  char* colon = strchr(line, ':');
  if (!colon) parsing_error(frame_name);
  *colon = 0;
  char* text = colon + 1;
  if (*text == '\t') text++;
  else text = skip_blanks(text);
  char* key = skip_blanks(line);
  if (*key == '(') load_method(frame_name, key, text);
  else load_value(frame_name, key, text);
}

// Loads the lines of fp into frames; raises on a bad line.
static void load_lines(FILE* fp, const char* path, char* buf) {
  Node* frame_name = nullptr;
  PROTECT(frame_name);
  int len = 0;
  bool too_long = false;
  while (next_line(fp, buf, MAX_LINE, &len, &too_long)) {
    if (too_long) parsing_error(frame_name);
    char* line = skip_blanks(buf);
    if (!*line || *line == ';' || starts_word(line, "#INFO")) continue;
    if (starts_word(line, "#EXTERN")) {
      load_externs(line + 7);
    } else if (starts_word(line, "#BEGIN")) {
      char* name = skip_blanks(line + 6);
      char* end = name + strlen(name);
      while (end > name && (end[-1] == ' ' || end[-1] == '\t')) *--end = 0;
      frame_name = *name ? intern_name(name) : nullptr;
      if (!frame_name || is_slot(frame_name) || !make_frame(frame_name)) parsing_error(frame_name);
      frame_events().database_frame(path, symbol_name(frame_name));
    } else if (starts_word(line, "#END")) {
      frame_name = nullptr;
    } else if (frame_name) {
      if (!framep(symbol_value(frame_name))) parsing_error(frame_name);
      load_slot_line(frame_name, line);
    }
  }
  UNPROTECT(1);
}

bool load_database_file(const char* path) {
  FILE* fp = open_input_file(path, "rb");
  if (!fp) return false;
  frame_events().database_loading(path);
  Node* buf = make_string_of_size(MAX_LINE + 1);
  PROTECT(buf);
  FILE* volatile open_file = fp;
  Context ctx;
  begin_context(&ctx, CX_ERROR, s_t);
  if (setjmp(ctx.resume) == 0) load_lines(fp, path, buf->u.str);
  end_context(&ctx);
  fclose(open_file);
  UNPROTECT(1);
  return true;
}

void load_database_list(const char* list_file) {
  frame_events().list_loading(list_file);
  FILE* fp = open_input_file(list_file, "rb");
  if (!fp) return;
  Node* names = nullptr;
  Node* tail = nullptr;
  PROTECT(names);
  char line[4096];
  int len = 0;
  bool too_long = false;
  while (next_line(fp, line, (int)sizeof line, &len, &too_long)) {
    if (too_long || len == 0) continue;
    Node* cell = make_cons(nullptr, nullptr);
    if (!names) names = cell;
    else tail->u.c.cdr = cell;
    tail = cell;
    cell->u.c.car = make_string_bytes(line, len);
  }
  fclose(fp);
  if (names) stream_put_string(standard_output(), "; loading database\n");
  for (Node* l = names; consp(l); l = cdr(l)) load_database_file(car(l)->u.str);
  UNPROTECT(1);
}

}  // namespace velloq
