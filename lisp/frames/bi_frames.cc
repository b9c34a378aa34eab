// The frame built-ins.  Each takes all its arguments before it changes
// anything, since a trigger it fires runs other calls on the argument
// stack.
#include "builtin_handlers.h"
#include "errors.h"
#include "eval.h"
#include "frames.h"
#include "symbols.h"

namespace velloq {

static Node* frame_arg() {
  Node* f = next_arg();
  if (!framep(f)) bad_argument(f);
  return f;
}

static Node* truth(bool b) { return b ? s_t : nullptr; }

Node* bi_addframe() {
  Node* s = symbol_arg();
  last_arg();
  return is_slot(s) ? nullptr : make_frame(s);
}

Node* bi_delframe() {
  Node* s = next_arg();
  last_arg();
  if (!symbolp(s)) report_error("argument to delframe is not a frame", s);
  delete_frame(s);
  return nullptr;
}

Node* bi_addchild() {
  Node* s = symbol_arg();
  last_arg();
  return add_child(s);
}

Node* bi_childsymbol() {
  Node* s = symbol_arg();
  last_arg();
  return child_symbol(s);
}

Node* bi_addslot() {
  Node* f = frame_arg();
  int first = (int)(argp - astack);
  int count = argc_left;
  for (int i = 0; i < count; i++) symbol_arg();
  Node* last = nullptr;
  for (int i = 0; i < count; i++) {
    last = astack[first + i];
    // A relation name always puts a fresh inheritance slot IS -> FRAME in
    // place of the old one; any other name is found or added.
    if (is_inheritance_relation(last)) set_inheritance(f, last, symbol_value(fs_frame));
    else find_or_add_slot(f, last);
  }
  return last;
}

Node* bi_delslot() {
  Node* f = frame_arg();
  Node* name = symbol_arg();
  last_arg();
  Node* s = own_slot(f, name);
  if (s) remove_slot(s);
  return nullptr;
}

Node* bi_findslot() {
  Node* f = frame_arg();
  Node* name = symbol_arg();
  last_arg();
  return own_slot(f, name);
}

Node* bi_getslotlist() {
  Node* f = frame_arg();
  last_arg();
  return slot(f, FR_SLOTS);
}

Node* bi_setslotvalue() {
  Node* f = frame_arg();
  Node* name = symbol_arg();
  Node* value = next_arg();
  last_arg();
  return store_value(choose_target(name, f), value);
}

Node* bi_getowner() {
  Node* s = symbol_arg();
  last_arg();
  return is_slot(s) ? symbol_value(slot(s, S_OWNER)) : nullptr;
}

Node* bi_getname() {
  Node* f = frame_arg();
  last_arg();
  return slot(f, FR_NAME);
}

Node* bi_getchildren() {
  Node* f = frame_arg();
  last_arg();
  return slot(f, FR_CHILDREN);
}

Node* bi_getparents() {
  Node* f = frame_arg();
  last_arg();
  Node* l = inheritance_slot(f);
  if (!l) return nullptr;
  Node* v = symbol_value(l);
  return consp(v) ? v : make_cons(v, nullptr);
}

Node* bi_get_inheritance_slot() {
  Node* f = frame_arg();
  last_arg();
  return inheritance_slot(f);
}

Node* bi_setparents() {
  Node* f = frame_arg();
  Node* p = next_arg();
  last_arg();
  Node* l = inheritance_slot(f);
  return l ? set_inheritance(f, l, p) : nullptr;
}

Node* bi_checkis() {
  Node* x = next_arg();
  Node* a = frame_arg();
  last_arg();
  return truth(is_ancestor(x, a));
}

Node* bi_defslot() {
  Node* s = symbol_arg();
  last_arg();
  Node* name = slot(s, S_PNAME);
  PROTECT(name);
  Node* copy = make_string_bytes(name->u.str, string_length(name));
  PROTECT(copy);
  Node* global = intern_symbol(copy->u.str);
  UNPROTECT(2);
  return global;
}

}  // namespace velloq
