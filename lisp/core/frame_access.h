// Where the interpreter meets the frame system: global variable and
// function lookup, the caret reader and uninterning call these, and only
// these, so that frames can take part later without a hook.  Frames hold no
// slots yet, so each gives the plain behaviour: a symbol's own cells, no
// slot behind a caret path, nothing to hand over when a symbol goes.
#pragma once

#include "node.h"
#include "symbols.h"

namespace velloq {

// The global value of sym (no lexical binding was found).  Never raises.
inline Node* global_value(Node* sym) { return symbol_value(sym); }

// Sets the global value of sym; read-only and owned symbols keep theirs.
inline void set_global_value(Node* sym, Node* value) {
  if (is_protected(sym)) return;
  set_slot(sym, S_VALUE, value);
}

// The global function of sym, or NIL.  Never raises.
inline Node* global_function(Node* sym) { return symbol_function(sym); }

// Sets the global function of sym; read-only and owned symbols keep theirs.
inline void set_global_function(Node* sym, Node* value) {
  if (is_protected(sym)) return;
  set_slot(sym, S_FUNCTION, value);
}

// The frame system's start-up: builds the built-in frame hierarchy, after
// the system symbols exist (from nothing or from a workspace image, which
// holds no frames).  Nothing to build while frames hold no slots.
inline void init_frame_system() {}

// The slot slot_name of the frame value, read by OWNER^SLOT: NIL while
// frames hold no slots.  Never raises.
inline Node* frame_slot_path(Node* value, Node* slot_name) {
  (void)value;
  (void)slot_name;
  return nullptr;
}

// Offers an owned symbol being uninterned to its frame; true when the frame
// took it over, so it stays in the object array.  No frame takes one yet.
inline bool frame_takes_owned_symbol(Node* sym) {
  (void)sym;
  return false;
}

}  // namespace velloq
