// The shared fuzzing harness of the interpreter.
#include "fuzz_interpreter.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "builtin_handlers.h"
#include "context.h"
#include "errors.h"
#include "eval.h"
#include "file_streams.h"
#include "node.h"
#include "reader.h"
#include "streams.h"
#include "symbols.h"
#include "toplevel.h"

using namespace velloq;

namespace fuzz_lisp {

namespace {

long polls = 0;
long errors = 0;
const long kErrorLimit = 1000;
const long kPollLimit = 3000;  // about 300,000 evaluations per input

bool step_limit_reached(void*) { return ++polls > kPollLimit; }

Node* input_symbol = nullptr;
std::string scratch;

// A plain name for the scratch folder: no "/", no leading ".", at most 64
// bytes.
bool plain_name(const char* s) {
  size_t len = strlen(s);
  return len > 0 && len <= 64 && s[0] != '.' && !strchr(s, '/');
}

// Runs the built-in with its first argument, when it is a name, taken as a
// file in the scratch folder (the working directory stays where libFuzzer
// keeps its own files).
Node* confined(Node* (*builtin)()) {
  if (argc_left > 0) {
    Node* n = argp[0];
    const char* name = stringp(n) ? n->u.str : symbolp(n) ? symbol_name(n) : nullptr;
    if (name) {
      if (!plain_name(name)) report_error("outside the scratch folder");
      std::string path = scratch + "/" + name;
      argp[0] = make_string_bytes(path.data(), (int32_t)path.size());
    }
  }
  return builtin();
}

Node* confined_open() { return confined(bi_open); }
Node* confined_load() { return confined(bi_load); }
Node* confined_dribble() { return confined(bi_dribble); }

void confine(const char* name, Handler handler) {
  Node* sym = intern_symbol(name);
  Node* original = symbol_function(sym);
  set_slot(sym, S_FUNCTION, make_subr(K_SUBR, handler, original->num));
}

void empty_scratch() {
  DIR* d = opendir(scratch.c_str());
  if (!d) abort();
  while (struct dirent* e = readdir(d))
    if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
      unlink((scratch + "/" + e->d_name).c_str());
  closedir(d);
}

// Reads and evaluates one expression; false at the end of the input.
bool read_and_eval_one() {
  Context ctx;
  begin_context(&ctx, CX_TOPLEVEL | CX_BREAK, s_t);
  if (setjmp(ctx.resume)) {
    set_slot(s_evalhook, S_VALUE, nullptr);
    set_slot(s_applyhook, S_VALUE, nullptr);
    end_context(&ctx);
    return polls <= kPollLimit && ++errors < kErrorLimit;
  }
  Node* expr = nullptr;
  PROTECT(expr);
  bool found = read_value(symbol_value(input_symbol), &expr);
  if (found) eval_expr(expr);
  end_context(&ctx);
  return found;
}

}  // namespace

void start() {
  static bool started = false;
  if (started) return;
  started = true;
  char dir[] = "/tmp/velloq-fuzz-XXXXXX";
  if (!mkdtemp(dir)) abort();
  scratch = dir;
  setenv("VELLOQ_HEAP_LIMIT", "268435456", 1);
  if (!start_interpreter()) abort();
  console.break_requested = step_limit_reached;
  confine("OPEN", confined_open);
  confine("LOAD", confined_load);
  confine("DRIBBLE", confined_dribble);
  input_symbol = intern_symbol("*FUZZ-INPUT*");
}

void begin_input() {
  polls = 0;
  errors = 0;
  switch_transcript(nullptr);
  empty_scratch();
}

void run_text(const unsigned char* data, size_t size, bool through_load) {
  Node* stream = make_unnamed_stream();
  set_slot(input_symbol, S_VALUE, stream);
  if (through_load) {
    FILE* f = fopen((scratch + "/input.lsp").c_str(), "wb");
    if (!f) abort();
    if (size && fwrite(data, 1, size, f) != size) abort();
    if (fclose(f) != 0) abort();
    const char text[] = "(load \"input.lsp\" '/verbose nil)";
    for (const char* p = text; *p; p++) stream_put_char(stream, (unsigned char)*p);
  } else {
    for (size_t i = 0; i < size; i++) stream_put_char(stream, data[i]);
  }
  while (read_and_eval_one()) {
  }
  set_slot(input_symbol, S_VALUE, nullptr);
  // Every input starts from the same state of the system variables.
  set_slot(s_tracelist, S_VALUE, nullptr);
  set_slot(s_gc_hook, S_VALUE, nullptr);
  set_slot(s_gc_flag, S_VALUE, nullptr);
  switch_transcript(nullptr);
}

}  // namespace fuzz_lisp
