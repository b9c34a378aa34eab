// Character streams over files, character queues and the console.
#include "streams.h"

#include <cstring>

#include "errors.h"
#include "file_streams.h"
#include "symbols.h"
#include "toplevel.h"

namespace velloq {

ConsoleIO console;
bool console_error_colour = false;
long output_count = 0;
FILE* dribble_file = nullptr;
Node* console_stream = nullptr;
bool console_may_read_more = false;

static const char* console_text = nullptr;
static long console_pos = 0;
static int console_unget = -1;

void reset_stream_state() { console_error_colour = false; }

void dribble_input(const char* text, long len) { transcript_write(text, (size_t)len); }

void close_dribble() { switch_transcript(nullptr); }

void set_console_input(const char* text) {
  console_text = text;
  console_pos = 0;
  console_unget = -1;
}

void clear_console_input() { set_console_input(nullptr); }

static int console_get() {
  if (console_unget >= 0) {
    int c = console_unget;
    console_unget = -1;
    return c;
  }
  for (;;) {
    // The text ends at its NUL only: byte 255 is the letter "я" of
    // Windows-1251, not an end of input.
    if (console_text) {
      unsigned char c = (unsigned char)console_text[console_pos];
      if (c != 0) {
        console_pos++;
        return c;
      }
    }
    if (!console_may_read_more || !console.read_more || !console.read_more(console.context)) return -1;
    // The break key pressed while the program waited ends it here.
    poll_user_break();
  }
}

static void console_put(int c) {
  if (c == '\r') c = '\n';
  if (console.write_char) console.write_char(console.context, c, console_error_colour);
  char ch = (char)c;
  transcript_write(&ch, 1);
}

// A file stream's pushed-back character is kept as code + 1 (0 when none).
int stream_get_char(Node* s) {
  if (!s) return -1;
  if (s->kind == K_FSTREAM) {
    if (s->num) {
      int c = s->num - 1;
      s->num = 0;
      return c;
    }
    if (s->flags & F_CONSOLE) return console_get();
    if (!s->u.fp) return -1;
    return fgetc(s->u.fp);
  }
  if (s->kind == K_USTREAM) {
    Node* head = s->u.c.car;
    if (!head) return -1;
    Node* ch = car(head);
    if (!charp(ch)) report_error("bad stream");
    s->u.c.car = cdr(head);
    if (!s->u.c.car) s->u.c.cdr = nullptr;
    return ch->num;
  }
  return -1;
}

void stream_unget_char(Node* s, int c) {
  if (!s || c < 0) return;
  if (s->kind == K_FSTREAM) {
    if (s->flags & F_CONSOLE) console_unget = c;
    else s->num = c + 1;
  } else if (s->kind == K_USTREAM) {
    PROTECT(s);
    Node* cell = make_cons(make_character(c), s->u.c.car);
    UNPROTECT(1);
    s->u.c.car = cell;
    if (!s->u.c.cdr) s->u.c.cdr = cell;
  }
}

int stream_peek_char(Node* s) {
  int c = stream_get_char(s);
  stream_unget_char(s, c);
  return c;
}

void stream_put_char(Node* s, int c) {
  output_count++;
  if (!s) return;
  c &= 255;
  if (s->kind == K_FSTREAM) {
    if (s->flags & F_CONSOLE) console_put(c);
    else if (s->u.fp) file_stream_put(s, c);
  } else if (s->kind == K_USTREAM) {
    PROTECT(s);
    Node* cell = make_cons(make_character(c), nullptr);
    UNPROTECT(1);
    if (s->u.c.cdr) s->u.c.cdr->u.c.cdr = cell; else s->u.c.car = cell;
    s->u.c.cdr = cell;
  }
}

void stream_put_bytes(Node* s, const char* text, long len) {
  if (s && s->kind == K_FSTREAM && (s->flags & F_CONSOLE) && console.write_string) {
    // One call per run of text keeps the terminal fast; line ends stay as is.
    char chunk[257];
    long i = 0;
    while (i < len) {
      int n = 0;
      while (i < len && n < 256) {
        char ch = text[i++];
        chunk[n++] = ch == '\r' ? '\n' : ch;
      }
      chunk[n] = 0;
      if (memchr(chunk, 0, (size_t)n)) {
        for (int k = 0; k < n; k++) console_put((unsigned char)chunk[k]);
      } else {
        console.write_string(console.context, chunk, console_error_colour);
        transcript_write(chunk, (size_t)n);
      }
      output_count += n;
    }
    return;
  }
  for (long i = 0; i < len; i++) stream_put_char(s, (unsigned char)text[i]);
}

void stream_put_string(Node* s, const char* text) { stream_put_bytes(s, text, (long)strlen(text)); }

void init_console_streams() {
  console_stream = make_file_stream(nullptr);
  console_stream->flags |= F_CONSOLE;
  Node* vars[] = {s_standard_input, s_standard_output, s_error_output, s_debug_io, s_trace_output};
  for (Node* v : vars) set_slot(v, S_VALUE, console_stream);
}

// A stream variable that no longer holds a stream falls back to the console.
static Node* stream_of(Node* var) {
  Node* v = symbol_value(var);
  if (v && (v->kind == K_FSTREAM || v->kind == K_USTREAM)) return v;
  return v ? console_stream : nullptr;
}

Node* standard_input() { return stream_of(s_standard_input); }
Node* standard_output() { return stream_of(s_standard_output); }
Node* error_output() { return stream_of(s_error_output); }
Node* trace_output() { return stream_of(s_trace_output); }

Node* check_stream(Node* s) {
  if (!s) return s;
  if (s->kind == K_FSTREAM) {
    if (!(s->flags & F_CONSOLE) && !s->u.fp) report_error("file not open", s);
    return s;
  }
  if (s->kind == K_USTREAM) return s;
  report_error("bad argument type", s);
}

Node* ustream_take_string(Node* s) {
  long n = 0;
  for (Node* l = s->u.c.car; l; l = cdr(l)) n++;
  if (n > 0x7ffffff0L) report_error("insufficient string space");
  PROTECT(s);
  Node* str = make_string_of_size((int32_t)n + 1);
  UNPROTECT(1);
  long i = 0;
  for (Node* l = s->u.c.car; l; l = cdr(l)) {
    Node* ch = car(l);
    if (!charp(ch)) report_error("bad stream");
    str->u.str[i++] = (char)ch->num;
  }
  str->u.str[i] = 0;
  s->u.c.car = s->u.c.cdr = nullptr;
  return str;
}

Node* ustream_take_list(Node* s) {
  Node* l = s->u.c.car;
  s->u.c.car = s->u.c.cdr = nullptr;
  return l;
}

}  // namespace velloq
