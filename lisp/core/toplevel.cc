// The top level and the loading of source files.
#include "toplevel.h"

#include <cstdlib>
#include <cstring>

#include "builtin_handlers.h"
#include "builtins.h"
#include "context.h"
#include "errors.h"
#include "file_streams.h"
#include "eval.h"
#include "frames.h"
#include "printer.h"
#include "reader.h"
#include "streams.h"
#include "symbols.h"
#include "workspace_image.h"

namespace velloq {

namespace {

// Writes "error: " and message straight to the front end: during start-up
// the console stream may not exist yet.
void startup_message(const char* message) {
  const char* parts[] = {"error: ", message, "\n"};
  for (const char* p : parts) {
    if (console.write_string) console.write_string(console.context, p, true);
    dribble_input(p, (long)strlen(p));
  }
}

// The system from nothing: symbols, streams, read table, frames, the
// system variables and the built-ins.
void build_from_nothing() {
  init_symbols();
  init_console_streams();
  init_readtable();
  Node* nil_vars[] = {s_evalhook, s_applyhook, s_tracelist, s_tracenable, s_tracelimit,
                      s_gc_flag, s_gc_hook};
  for (Node* v : nil_vars) set_slot(v, S_VALUE, nullptr);
  define_builtins();
  init_frames();
}

// The rest of the interpreter after node memory came from an image.
void finish_restored_workspace() {
  forget_builtin_nodes();
  init_console_streams();
  // The image keeps no frames (its reader drops them): the built-in
  // hierarchy is built anew over the restored symbols.
  init_frames();
}

// Rebuilds the workspace from the image or from nothing.  May raise.
void build_workspace() {
  WorkspaceOutcome w = restore_workspace_file("velloq.wks", default_workspace_limits);
  if (w.result == WKS_RESTORED) {
    finish_restored_workspace();
    return;
  }
  if (w.result != WKS_ABSENT) startup_message(w.message);
  build_from_nothing();
}

// Loads "init.lsp" as the top level: a user break or EXIT there ends the
// load, not the program.
void load_init_file() {
  Context ctx;
  begin_context(&ctx, CX_TOPLEVEL | CX_BREAK, s_t);
  if (setjmp(ctx.resume) == 0) load_file("init.lsp", true, false);
  end_context(&ctx);
}

}  // namespace

bool start_interpreter() {
  context_chain = nullptr;
  fatal_error_seen = false;
  trace_depth = 0;
  argp = nullptr;
  argc_left = 0;
  if (!init_node_memory()) {
    startup_message("insufficient memory - fixnum segment");
    return false;
  }
  // An error that reaches this context during start-up is fatal.
  Context ctx;
  begin_context(&ctx, CX_TOPLEVEL | CX_BREAK, nullptr);
  if (setjmp(ctx.resume)) {
    context_chain = nullptr;
    startup_message("fatal initialization error");
    return false;
  }
  build_workspace();
  end_context(&ctx);
  load_init_file();
  return !fatal_error_seen;
}

void stop_interpreter() {
  context_chain = nullptr;
  close_dribble();
  free_node_memory();
  console_stream = nullptr;
}

static void shift(Node* a, Node* b, Node* c, Node* v) {
  set_slot(c, S_VALUE, symbol_value(b));
  set_slot(b, S_VALUE, symbol_value(a));
  set_slot(a, S_VALUE, v);
}

// Takes the blanks and the line end after the expression, so that a
// program reading input starts with the text that follows.
static void skip_to_line_end(Node* in) {
  int c;
  do c = stream_get_char(in); while (c == ' ' || c == '\t' || c == '\r');
  if (c != '\n') stream_unget_char(in, c);
}

void evaluate_top_level_text(const char* text, int* more) {
  *more = 0;
  if (fatal_error_seen) return;
  set_console_input(text);
  console_may_read_more = false;
  Context ctx;
  begin_context(&ctx, CX_TOPLEVEL | CX_BREAK, s_t);
  if (setjmp(ctx.resume)) {
    set_slot(s_evalhook, S_VALUE, nullptr);
    set_slot(s_applyhook, S_VALUE, nullptr);
    trace_depth = 0;
    clear_console_input();
    console_may_read_more = false;
    end_context(&ctx);
    return;
  }
  Node* expr = nullptr;
  PROTECT(expr);
  // The terminal's text is read from the console itself: what a program
  // does to *STANDARD-INPUT* changes its own reads only.
  if (read_value(console_stream, &expr)) {
    skip_to_line_end(console_stream);
    shift(s_plus1, s_plus2, s_plus3, expr);
    set_slot(s_minus, S_VALUE, expr);
    console_may_read_more = true;
    Node* v = eval_expr(expr);
    console_may_read_more = false;
    shift(s_star1, s_star2, s_star3, v);
    Node* out = standard_output();
    print_node(out, v, true);
    stream_put_char(out, '\n');
    *more = 1;
  }
  clear_console_input();
  end_context(&ctx);
}

void poll_user_break() {
  for (int round = 0; round < 2; round++) {
    if (console.break_requested && console.break_requested(console.context)) {
      console_error_colour = true;
      stream_put_string(console_stream, "*User-Break*\n");
      console_error_colour = false;
      for (Context* c = context_chain; c; c = c->prev)
        if (c->kinds & CX_TOPLEVEL) unwind_to(c, CX_BREAK, nullptr);
      print_error_text("no top level", nullptr, false);
      return;
    }
    if (round == 0 && console.process_events) console.process_events(console.context);
  }
}

void return_to_top_level() {
  for (Context* c = context_chain; c; c = c->prev)
    if (c->kinds & CX_TOPLEVEL) unwind_to(c, CX_BREAK, nullptr);
}

bool load_file(const char* name, bool verbose, bool print) {
  char path[1024];
  size_t len = strlen(name);
  if (len > sizeof path - 5) return false;
  memcpy(path, name, len + 1);
  const char* slash = strrchr(path, '/');
  const char* dot = strrchr(path, '.');
  if (!dot || (slash && dot < slash)) strcat(path, ".lsp");
  bool not_regular = false;
  FILE* fp = open_input_file(path, "r", &not_regular);
  if (!fp) {
    // A missing file is no error; a pipe or a folder named as one is.
    if (not_regular) print_error_text("cannot load, not a regular file", make_string_from(path), true);
    return false;
  }
  // Running out of nodes is fatal, so the file cannot leak here.
  Node* stream = make_file_stream(nullptr);
  stream->u.fp = fp;
  PROTECT(stream);
  if (verbose) {
    Node* out = standard_output();
    stream_put_string(out, "; loading \"");
    stream_put_string(out, path);
    stream_put_string(out, "\"\n");
  }
  Context ctx;
  begin_context(&ctx, CX_ERROR, s_t);
  if (setjmp(ctx.resume)) {
    end_context(&ctx);
    if (stream->u.fp) fclose(stream->u.fp);
    stream->u.fp = nullptr;
    UNPROTECT(1);
    return false;
  }
  Node* expr = nullptr;
  PROTECT(expr);
  while (read_value(stream, &expr)) {
    Node* v = eval_expr(expr);
    if (print) {
      Node* out = standard_output();
      print_node(out, v, true);
      stream_put_char(out, '\n');
    }
  }
  end_context(&ctx);
  if (stream->u.fp) fclose(stream->u.fp);
  stream->u.fp = nullptr;
  UNPROTECT(1);
  return true;
}

// (LOAD name [/VERBOSE flag] [/PRINT flag])
Node* bi_load() {
  Node* name = next_arg();
  const char* path;
  if (stringp(name)) path = name->u.str;
  else if (symbolp(name)) path = symbol_name(name);
  else bad_argument(name);
  bool verbose = true, print = false;
  while (more_args()) {
    Node* key = next_arg();
    Node* v = next_arg();
    if (key == s_verbose) verbose = v != nullptr;
    else if (key == s_print) print = v != nullptr;
    else bad_argument(key);
  }
  // The path is copied: the name's node may be collected while loading.
  char copy[1024];
  strncpy(copy, path, sizeof copy - 1);
  copy[sizeof copy - 1] = 0;
  return load_file(copy, verbose, print) ? s_t : nullptr;
}

// (DRIBBLE [name]): the transcript receives the terminal's traffic, what
// is typed and what is written.
Node* bi_dribble() {
  Node* name = more_args() ? next_arg() : nullptr;
  last_arg();
  if (name && !stringp(name) && !symbolp(name)) bad_argument(name);
  return switch_transcript(name ? (stringp(name) ? name->u.str : symbol_name(name)) : nullptr) ? s_t
                                                                                             : nullptr;
}

}  // namespace velloq
