// Where the interpreter meets the frame system (lisp/frames): global
// variable and function lookup, the caret reader and uninterning call
// these, and only these.  A symbol that is no slot, looked up outside a
// method, takes the short way through its own cells; everything else goes
// to the frame system, which may run triggers (and so may raise).
#pragma once

#include "node.h"
#include "symbols.h"

namespace velloq {

Node* current_frame_context();  // eval.cc
extern bool methods_made;       // eval.cc: no method, no frame context

// The frame system's side (frame_lookup.cc).
Node* frame_global_value(Node* sym);
Node* frame_set_global_value(Node* sym, Node* value);
Node* frame_global_function(Node* sym);
void frame_set_global_function(Node* sym, Node* fn);

// True when sym may stand for something other than its own cells.
inline bool frame_lookup_needed(Node* sym) {
  return slot(sym, S_OWNER) != nullptr || (methods_made && current_frame_context() != nullptr);
}

// The global value of sym (no lexical binding was found): a slot's value
// (ON_GETVAL first), an own slot of SELF, or the symbol's value.
inline Node* global_value(Node* sym) {
  return frame_lookup_needed(sym) ? frame_global_value(sym) : symbol_value(sym);
}

// Sets the global value of sym; returns value, or NIL when the target is
// read-only or owned and keeps its value.
inline Node* set_global_value(Node* sym, Node* value) {
  if (!sym) return nullptr;
  if (frame_lookup_needed(sym)) return frame_set_global_value(sym, value);
  if (is_protected(sym)) return nullptr;
  set_slot(sym, S_VALUE, value);
  return value;
}

// The global function of sym, or NIL (a slot fires ON_FUNCAL first).
inline Node* global_function(Node* sym) {
  return frame_lookup_needed(sym) ? frame_global_function(sym) : symbol_function(sym);
}

// Sets the global function of sym; read-only and owned targets keep
// theirs; NIL removes a slot from its frame and undefines a symbol.
inline void set_global_function(Node* sym, Node* value) {
  if (!sym) return;
  if (frame_lookup_needed(sym) || !value) {
    frame_set_global_function(sym, value);
    return;
  }
  if (is_protected(sym)) return;
  set_slot(sym, S_FUNCTION, value);
}

// OWNER^SLOT read by the reader: current is the symbol before the caret
// (or the object a previous segment gave); the result is the frame's slot
// named slot_name (found or added), or for another object its type frame
// under IS.  Raises "property not specified" for a NIL name on a
// non-frame; may run triggers.
Node* frame_slot_path(Node* current, Node* slot_name);

// Offers an owned symbol being uninterned to its frame; true when it is a
// slot, which is removed from its frame (a system or read-only slot stays).
bool frame_takes_owned_symbol(Node* sym);

}  // namespace velloq
