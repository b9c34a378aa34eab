// Contexts: records on a chain, one for every construct that a non-local
// exit (GO, RETURN, THROW, an error, a break) can target.  A context lives in
// the native frame of the routine that pushed it; resuming it restores every
// saved interpreter pointer and longjmps into that routine.
#pragma once

#include <csetjmp>

#include "eval.h"
#include "node.h"

namespace velloq {

enum ContextKind {
  CX_GO = 1, CX_RETURN = 2, CX_THROW = 4, CX_ERROR = 8, CX_TOPLEVEL = 16,
  CX_BREAK = 32, CX_UNWIND = 64,
  CX_KEPT = 128  // begun by begin_kept_context: the tag is not protected
};

struct Context {
  int kinds;
  Node* tag;          // GO: the tag-body forms; RETURN: the name; THROW: the tag; ERROR: the print flag
  Context* prev;
  int saved_ptop;
  Node* saved_venv;
  Node* saved_stacked_frame;
  int saved_stacked_base;
  int saved_stacked_top;
  int saved_frame_depth;
  Node* saved_fenv;
  Node* saved_denv;
  Node** saved_argp;
  int saved_argc;
  int saved_afp;
  int saved_atop;
  int saved_trace_depth;
  int saved_print_nesting;
  int saved_read_nesting;
  jmp_buf resume;
};

// Pushes ctx, saving every interpreter pointer, and protects its tag while
// it lives.  The caller then does `if (setjmp(ctx.resume)) {...}`; every
// local changed after that point and read after a resume must be volatile.
// Raises only on a protection stack overflow.
void begin_context(Context* ctx, int kinds, Node* tag);

// Fills ctx with every interpreter pointer and makes it the innermost
// context; begin_context and begin_kept_context differ only in the tag's
// protection.  Never raises.
inline void push_context(Context* ctx, int kinds, Node* tag) {
  ctx->kinds = kinds;
  ctx->tag = tag;
  ctx->prev = context_chain;
  ctx->saved_ptop = ptop;
  ctx->saved_venv = venv;
  ctx->saved_stacked_frame = stacked_frame;
  ctx->saved_stacked_base = stacked_base;
  ctx->saved_stacked_top = stacked_top;
  ctx->saved_frame_depth = frame_depth;
  ctx->saved_fenv = fenv;
  ctx->saved_denv = denv;
  ctx->saved_argp = argp;
  ctx->saved_argc = argc_left;
  ctx->saved_afp = afp;
  ctx->saved_atop = atop;
  ctx->saved_trace_depth = trace_depth;
  ctx->saved_print_nesting = print_nesting;
  ctx->saved_read_nesting = read_nesting;
  context_chain = ctx;
}

// begin_context for a tag that something else keeps alive while ctx lives
// (a closure's name, kept by the closure): inline, for the RETURN target
// of every named call.  Never raises.
inline void begin_kept_context(Context* ctx, int kinds, Node* tag) {
  push_context(ctx, kinds | CX_KEPT, tag);
}
// Pops ctx (it must be the innermost context) and drops the protections
// made since it was pushed.  Never raises.
inline void end_context(Context* ctx) {
  context_chain = ctx->prev;
  ptop = ctx->saved_ptop;
}
// Resumes target (or an unwind-protect context between here and there),
// with exit_value set to value: the saved pointers come back, dynamic
// bindings are undone and each module resets its own flags.
[[noreturn]] void unwind_to(Context* target, int kind, Node* value);
// Go to the tag-body holding tag; raises "no target for GO" when none does.
[[noreturn]] void throw_go(Node* tag);
// Leaves the innermost block named name with value; raises "no target for
// RETURN".
[[noreturn]] void throw_return(Node* name, Node* value);
// Leaves the innermost CATCH of tag with value; raises "no target for
// THROW".
[[noreturn]] void throw_catch(Node* tag, Node* value);

// Binds sym dynamically to value, keeping its old value on denv for
// unwind_dynamic.  The value cell is set even for a read-only symbol.
// Allocates; protects sym and value.
void push_dynamic(Node* sym, Node* value);
// Puts back the values of the dynamic bindings made since denv was `saved`.
// Never raises.
void unwind_dynamic(Node* saved);

// Writes "error: " and message to the console in the error colour, with
// " - " and the printed value when has_value.  An error raised while the
// text is printed prints nothing more.  May raise (printing the value).
void print_error_text(const char* message, Node* value, bool has_value);

}  // namespace velloq
