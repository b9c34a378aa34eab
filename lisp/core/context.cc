// The context chain and non-local exits.
#include "context.h"

#include "errors.h"
#include "eval.h"
#include "printer.h"
#include "streams.h"

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <sanitizer/asan_interface.h>
#endif

namespace velloq {

Context* context_chain = nullptr;
Node* exit_value = nullptr;
Context* pending_target = nullptr;
int pending_kind = 0;

void begin_context(Context* ctx, int kinds, Node* tag) {
  push_context(ctx, kinds, tag);
  // The tag must survive collections while the context lives.
  protect(&ctx->tag);
}

void push_dynamic(Node* sym, Node* value) {
  PROTECT(sym);
  PROTECT(value);
  denv = make_cons(make_cons(sym, symbol_value(sym)), denv);
  set_slot(sym, S_VALUE, value);
  UNPROTECT(2);
}

void unwind_dynamic(Node* saved) {
  while (denv && denv != saved) {
    Node* rec = car(denv);
    set_slot(car(rec), S_VALUE, cdr(rec));
    denv = cdr(denv);
  }
}

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer clears the poison of an abandoned stack at each
// longjmp, but gives up (and later reports errors that are none) when the
// stack in use is deeper than 64 MiB, as it is after deep recursion.  Such
// a jump clears the region itself and goes through the C library's own
// longjmp.
[[noreturn]] static void jump_to(Context* ctx) {
  char here;
  char* low = &here - 4096;
  char* high = reinterpret_cast<char*>(ctx);
  if (high - low < ((ptrdiff_t)32 << 20)) longjmp(ctx->resume, 1);
  typedef void (*LongJump)(jmp_buf, int);
  static LongJump libc_longjmp = nullptr;
  if (!libc_longjmp) {
    void* libc = dlopen("libc.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (libc) libc_longjmp = reinterpret_cast<LongJump>(dlsym(libc, "longjmp"));
    if (!libc_longjmp) longjmp(ctx->resume, 1);
  }
  __asan_unpoison_memory_region(low, (size_t)(high - low));
  libc_longjmp(ctx->resume, 1);
  __builtin_unreachable();
}
#else
[[noreturn]] static void jump_to(Context* ctx) { longjmp(ctx->resume, 1); }
#endif

[[noreturn]] static void resume(Context* ctx, Node* value) {
  context_chain = ctx;
  // The context's own tag stays protected, unless something else keeps it.
  ptop = ctx->saved_ptop + ((ctx->kinds & CX_KEPT) ? 0 : 1);
  reset_stack_limits();
  venv = ctx->saved_venv;
  restore_stacked_frame(ctx->saved_stacked_frame, ctx->saved_stacked_base, ctx->saved_stacked_top);
  frame_depth = ctx->saved_frame_depth;
  fenv = ctx->saved_fenv;
  unwind_dynamic(ctx->saved_denv);
  denv = ctx->saved_denv;
  argp = ctx->saved_argp;
  argc_left = ctx->saved_argc;
  afp = ctx->saved_afp;
  atop = ctx->saved_atop;
  trace_depth = ctx->saved_trace_depth;
  print_nesting = ctx->saved_print_nesting;
  read_nesting = ctx->saved_read_nesting;
  exit_value = value;
  reset_collector_state();
  reset_stream_state();
  reset_error_state();
  reset_printer_state();
  jump_to(ctx);
}

void unwind_to(Context* target, int kind, Node* value) {
  for (Context* c = context_chain; c && c != target; c = c->prev)
    if (c->kinds & CX_UNWIND) {
      pending_target = target;
      pending_kind = kind;
      resume(c, value);
    }
  resume(target, value);
}

void throw_go(Node* tag) {
  for (Context* c = context_chain; c; c = c->prev) {
    if (!(c->kinds & CX_GO)) continue;
    for (Node* l = c->tag; consp(l); l = cdr(l))
      if (car(l) == tag) unwind_to(c, CX_GO, cdr(l));
  }
  report_error("no target for GO", tag);
}

void throw_return(Node* name, Node* value) {
  for (Context* c = context_chain; c; c = c->prev)
    if ((c->kinds & CX_RETURN) && c->tag == name) unwind_to(c, CX_RETURN, value);
  report_error("no target for RETURN", name);
}

void throw_catch(Node* tag, Node* value) {
  for (Context* c = context_chain; c; c = c->prev)
    if ((c->kinds & CX_THROW) && c->tag == tag) unwind_to(c, CX_THROW, value);
  report_error("no target for THROW", tag);
}

}  // namespace velloq
