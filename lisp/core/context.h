// Contexts: records on a chain, one for every construct that a non-local
// exit (GO, RETURN, THROW, an error, a break) can target.  A context lives in
// the native frame of the routine that pushed it; resuming it restores every
// saved interpreter pointer and longjmps into that routine.
#pragma once

#include <csetjmp>

#include "node.h"

namespace velloq {

enum ContextKind {
  CX_GO = 1, CX_RETURN = 2, CX_THROW = 4, CX_ERROR = 8, CX_TOPLEVEL = 16,
  CX_BREAK = 32, CX_UNWIND = 64
};

struct Context {
  int kinds;
  Node* tag;          // GO: the tag-body forms; RETURN: the name; THROW: the tag; ERROR: the print flag
  Context* prev;
  int saved_ptop;
  Node* saved_venv;
  Node* saved_fenv;
  Node* saved_denv;
  Node** saved_argp;
  int saved_argc;
  int saved_afp;
  int saved_atop;
  int saved_trace_depth;
  jmp_buf resume;
};

// Pushes ctx.  The caller then does `if (setjmp(ctx.resume)) {...}`; every
// local changed after that point and read after a resume must be volatile.
void begin_context(Context* ctx, int kinds, Node* tag);
// Pops ctx (it must be the innermost context).
void end_context(Context* ctx);
// Resumes target (or an unwind-protect context between here and there).
[[noreturn]] void unwind_to(Context* target, int kind, Node* value);
[[noreturn]] void throw_go(Node* tag);
[[noreturn]] void throw_return(Node* name, Node* value);
[[noreturn]] void throw_catch(Node* tag, Node* value);

// Binds sym dynamically to value, keeping its old value on denv for
// unwind_dynamic.  The value cell is set even for a system symbol.  May
// raise (node space).
void push_dynamic(Node* sym, Node* value);
// Puts back the values of the dynamic bindings made since denv was `saved`.
// Never raises.
void unwind_dynamic(Node* saved);

// Error trap support.
void print_error_text(const char* message, Node* value, bool has_value);

}  // namespace velloq
