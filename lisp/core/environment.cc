// Lexical environments: binding, lookup and assignment.
//
// An environment is a list of frames, each a list of (symbol . value)
// conses, newest first; that is the shape closures keep and *EVALHOOK* and
// EVALHOOK hand to Lisp.  Most frames are a closure call's, which no one
// ever captures, so a call keeps its parameters on the argument stack as
// (symbol, value) pairs in front of its frame cell and makes them conses
// only when something takes the environment as a value (a closure is made,
// an evaluation hook is called).
#include "environment.h"

#include <cstdlib>
#include <cstring>

#include "context.h"
#include "errors.h"

namespace velloq {

Node* stacked_frame = nullptr;
int stacked_base = 0;
int stacked_top = 0;

int frame_depth = 0;
Node** frame_cells = nullptr;
int frame_cells_used = 0;
static int frame_cells_size = 0;

// take_frame_cell's way when no cell can be reused at this depth: a fresh
// cons, kept for the calls to come.
Node* take_new_frame_cell(Node* env) {
  int d = frame_depth;
  Node* cell = make_cons(nullptr, env);
  if (d >= frame_cells_size) {
    int size = frame_cells_size ? frame_cells_size * 2 : 256;
    while (size <= d) size *= 2;
    Node** grown = static_cast<Node**>(realloc(frame_cells, sizeof(Node*) * (size_t)size));
    if (!grown) return cell;  // the call simply keeps no cell
    memset(grown + frame_cells_size, 0, sizeof(Node*) * (size_t)(size - frame_cells_size));
    frame_cells = grown;
    frame_cells_size = size;
  }
  frame_cells[d] = cell;
  if (d >= frame_cells_used) frame_cells_used = d + 1;
  return cell;
}

void forget_unmarked_frame_cells() {
  int used = 0;
  for (int i = 0; i < frame_cells_used; i++) {
    if (frame_cells[i] && !(frame_cells[i]->flags & F_MARK)) frame_cells[i] = nullptr;
    if (frame_cells[i]) used = i + 1;
  }
  frame_cells_used = used;
}

void forget_frame_cells() {
  for (int i = 0; i < frame_cells_used; i++) frame_cells[i] = nullptr;
  frame_cells_used = 0;
  frame_depth = 0;
}

// The conses are made while the stacked pairs still count, so a collection
// or a *GC-HOOK* error in between sees one consistent environment.
void spill_stacked_bindings() {
  Node* frame = stacked_frame;
  if (!frame) return;
  PROTECT(frame);
  Node* list = car(frame);
  PROTECT(list);
  for (int i = stacked_base; i < stacked_top; i += 2) {
    Node* b = make_cons(astack[i], astack[i + 1]);
    list = make_cons(b, list);
  }
  frame->u.c.car = list;
  frame->flags |= F_SPILLED;
  stacked_frame = nullptr;
  UNPROTECT(2);
}

Node* captured_venv() {
  spill_stacked_bindings();
  return venv;
}

Node* get_variable(Node* sym) { return variable_value(sym); }

Node* set_variable(Node* sym, Node* value) {
  if (sym == s_self) return s_self;
  Node** place = find_binding(venv, sym);
  if (place) {
    *place = value;
    return value;
  }
  return set_global_value(sym, value);
}

Node* lookup_function(Node* sym) { return function_value(sym); }

Node* get_function(Node* sym) {
  Node* f = lookup_function(sym);
  if (!f) report_error("undefined function", sym);
  return f;
}

void set_function(Node* sym, Node* value) {
  Node** place = find_binding(fenv, sym);
  if (place) {
    *place = value;
    return;
  }
  set_global_function(sym, value);
}

void bind_variable(Node* sym, Node* value) {
  if (venv == stacked_frame) {
    if (atop == stacked_top) {
      stack_binding(sym, value);
      return;
    }
    spill_stacked_bindings();  // something lies on the stack above them
  }
  PROTECT(sym);
  Node* b = make_cons(sym, value);
  Node* cell = make_cons(b, car(venv));
  venv->u.c.car = cell;
  UNPROTECT(1);
}

}  // namespace velloq
