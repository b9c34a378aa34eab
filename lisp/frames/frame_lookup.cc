// The evaluator's lookups through the frame system: which symbol a global
// name stands for (a slot, an own slot of SELF, or the symbol itself), and
// reading and writing its value and function cells with their triggers.
#include "errors.h"
#include "eval.h"
#include "frame_access.h"
#include "frames.h"
#include "symbols.h"
#include "triggers.h"

namespace velloq {

Node* choose_target(Node* s, Node* self) {
  if (is_slot(s) || !framep(self)) return s;
  Node* own = own_slot(self, s);
  return own ? own : s;
}

Node* fetch_value(Node* target) {
  if (is_slot(target)) {
    PROTECT(target);
    fire_slot_trigger(target, ON_GETVAL, false, nullptr);
    UNPROTECT(1);
  }
  return symbol_value(target);
}

Node* store_value(Node* target, Node* value) {
  if (is_protected(target)) return nullptr;
  if (!is_slot(target)) {
    set_slot(target, S_VALUE, value);
    return value;
  }
  Node* f = slot_owner_frame(target);
  if (f && is_inheritance_slot(f, target)) {
    set_inheritance(f, target, value);
    return value;
  }
  PROTECT(target);
  PROTECT(value);
  fire_slot_trigger(target, ON_SETVAL, true, value);
  set_slot(target, S_VALUE, value);
  fire_slot_trigger(target, ON_UPDATE, true, nullptr);
  UNPROTECT(2);
  return value;
}

Node* fetch_function(Node* target) {
  if (is_slot(target)) {
    PROTECT(target);
    fire_slot_trigger(target, ON_FUNCAL, false, nullptr);
    UNPROTECT(1);
  }
  return symbol_function(target);
}

void store_function(Node* target, Node* fn) {
  if (is_protected(target)) return;
  if (!fn) {
    if (is_slot(target)) {
      remove_slot(target);
    } else {
      set_slot(target, S_FUNCTION, nullptr);
      unintern_symbol(target);
    }
    return;
  }
  if (!is_slot(target)) {
    set_slot(target, S_FUNCTION, fn);
    return;
  }
  PROTECT(target);
  PROTECT(fn);
  fire_slot_trigger(target, ON_SETFUN, true, fn);
  set_slot(target, S_FUNCTION, fn);
  fire_slot_trigger(target, ON_UPDATE, true, nullptr);
  UNPROTECT(2);
}

// ---- the join points the interpreter calls ----

Node* frame_global_value(Node* sym) { return fetch_value(choose_target(sym, current_frame_context())); }

Node* frame_set_global_value(Node* sym, Node* value) {
  return store_value(choose_target(sym, current_frame_context()), value);
}

Node* frame_global_function(Node* sym) {
  return fetch_function(choose_target(sym, current_frame_context()));
}

void frame_set_global_function(Node* sym, Node* fn) {
  store_function(choose_target(sym, current_frame_context()), fn);
}

Node* frame_slot_path(Node* current, Node* slot_name) {
  Node* value = symbolp(current) ? frame_global_value(current) : current;
  if (framep(value)) return find_or_add_slot(value, slot_name);
  if (!slot_name) report_error("property not specified");
  return type_frame(value, slot_name);
}

bool frame_takes_owned_symbol(Node* sym) {
  if (!is_slot(sym)) return false;
  if (get_property(sym, s_keyword) || get_property(sym, s_readonly)) return true;
  remove_slot(sym);
  return true;
}

}  // namespace velloq
