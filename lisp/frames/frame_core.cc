// Frames and slots: lookups by name, the inheritance hierarchy and the
// operations that change it.  Every operation that fires a trigger may run
// Lisp, so the nodes it still needs are protected across the firing.
#include <cstdio>
#include <cstring>

#include "errors.h"
#include "frame_events.h"
#include "frames.h"
#include "symbols.h"
#include "triggers.h"

namespace velloq {

static Node* frame_of(Node* name) {
  Node* v = symbolp(name) ? symbol_value(name) : nullptr;
  return framep(v) ? v : nullptr;
}

Node* slot_owner_frame(Node* s) { return frame_of(slot(s, S_OWNER)); }

Node* own_slot(Node* f, Node* name) {
  if (!framep(f) || !symbolp(name)) return nullptr;
  Node* pname = slot(name, S_PNAME);
  for (Node* l = slot(f, FR_SLOTS); consp(l); l = cdr(l)) {
    Node* s = car(l);
    if (s == name || (symbolp(s) && slot(s, S_PNAME) == pname)) return s;
  }
  return nullptr;
}

// The relations are the children of INHERITANCE; a name is one when it
// shares the print name of such a child's name symbol.
bool is_inheritance_relation(Node* name) {
  if (!symbolp(name)) return false;
  Node* inh = frame_of(fs_inheritance);
  if (!inh) return false;
  for (Node* l = slot(inh, FR_CHILDREN); consp(l); l = cdr(l)) {
    Node* child = car(l);
    if (framep(child) && symbolp(slot(child, FR_NAME)) && same_slot_name(slot(child, FR_NAME), name))
      return true;
  }
  return false;
}

Node* inheritance_slot(Node* f) {
  if (!framep(f)) return nullptr;
  for (Node* l = slot(f, FR_SLOTS); consp(l); l = cdr(l))
    if (is_inheritance_relation(car(l))) return car(l);
  return nullptr;
}

// Most slots are no relation at all, which is cheap to see; only a
// relation needs the walk over F's slots.
bool is_inheritance_slot(Node* f, Node* s) {
  return is_inheritance_relation(s) && s == inheritance_slot(f);
}

// The interned symbol of each recent print-name node.  An entry holds an
// interned symbol, so it stays alive and right until some symbol leaves the
// object array; then every entry is dropped.  Without it every slot store
// would search a long bucket of the object array twice.
struct NamesakeEntry {
  Node* pname;
  Node* symbol;
};
static NamesakeEntry namesakes[1024];
static long namesakes_valid_at = -1;

static Node* global_namesake(Node* s) {
  if (namesakes_valid_at != obarray_removals) {
    for (NamesakeEntry& e : namesakes) e = NamesakeEntry{nullptr, nullptr};
    namesakes_valid_at = obarray_removals;
  }
  Node* pname = slot(s, S_PNAME);
  NamesakeEntry& e = namesakes[((uintptr_t)pname >> 4) % 1024];
  if (e.pname == pname) return e.symbol;
  Node* found = find_symbol(symbol_name(s));
  if (found) e = NamesakeEntry{pname, found};
  return found;
}

Node* slot_class(Node* s) { return frame_of(global_namesake(s)); }

// The same idea for names read from database files, keyed by the text.
static Node* interned_names[1024];
static long interned_valid_at = -1;

Node* intern_name(const char* name) {
  if (interned_valid_at != obarray_removals) {
    for (Node*& e : interned_names) e = nullptr;
    interned_valid_at = obarray_removals;
  }
  uint32_t h = 2166136261u;
  for (const char* p = name; *p; p++) h = (h ^ (unsigned char)*p) * 16777619u;
  Node*& e = interned_names[h % 1024];
  if (e && strcmp(symbol_name(e), name) == 0) return e;
  Node* sym = intern_symbol(name);
  if (sym) e = sym;
  return sym;
}

Node* type_frame(Node* object, Node* relation) {
  if (!symbolp(relation) || !same_slot_name(relation, fs_is)) return nullptr;
  const char* name = nullptr;
  switch (object ? (int)object->kind : (int)K_FREE) {
    case K_CONS: name = "LIST"; break;
    case K_SYMBOL: name = "SYMBOL"; break;
    case K_FIXNUM: name = "FIXNUM"; break;
    case K_FLONUM: name = "FLONUM"; break;
    case K_STRING: name = "STRING"; break;
    case K_FSTREAM: name = "STREAM"; break;
    case K_ARRAY: name = "VECTOR"; break;
    case K_CLOSURE: name = "CLOSURE"; break;
    case K_USTREAM: name = "USTREAM"; break;
    default: return nullptr;
  }
  return frame_of(find_symbol(name));
}

// The depth and the number of steps bound the search, so a cycle built by
// hand through the slot list cannot make it run away.
static bool ancestor_search(Node* x, Node* a, int depth, long* budget) {
  Node* l = inheritance_slot(x);
  if (!l || depth > 1000) return false;
  Node* parents = symbol_value(l);
  if (!consp(parents)) {
    if (--*budget < 0) return false;
    return parents == a || (framep(parents) && ancestor_search(parents, a, depth + 1, budget));
  }
  for (Node* p = parents; consp(p); p = cdr(p))
    if (car(p) == a) return true;
  for (Node* p = parents; consp(p); p = cdr(p)) {
    if (--*budget < 0) return false;
    if (framep(car(p)) && ancestor_search(car(p), a, depth + 1, budget)) return true;
  }
  return false;
}

bool is_ancestor(Node* x, Node* a) {
  if (!framep(x)) return false;
  long budget = 1000000;
  return ancestor_search(x, a, 0, &budget);
}

// A new slot named like name, owned by owner_name.  Allocates.
static Node* new_slot(Node* name, Node* owner_name) {
  PROTECT(owner_name);
  Node* s = make_symbol_node(slot(name, S_PNAME));
  set_slot(s, S_OWNER, owner_name);
  UNPROTECT(1);
  return s;
}

// Takes the first cell holding x out of the list in cell i of v; a cell
// taken from inside the list loses its tail.
static void remove_from(Node* v, int i, Node* x) {
  Node* prev = nullptr;
  for (Node* l = slot(v, i); consp(l); prev = l, l = cdr(l)) {
    if (car(l) != x) continue;
    if (!prev) {
      set_slot(v, i, cdr(l));
    } else {
      set_cdr(prev, cdr(l));
      set_cdr(l, nullptr);
    }
    return;
  }
}

static bool member(Node* x, Node* l) {
  for (; consp(l); l = cdr(l))
    if (car(l) == x) return true;
  return false;
}

static void fire_one(Node* target, TriggerKind kind, Node* arg) { fire_trigger(target, kind, 1, &arg); }

// NIL, a read-only symbol and a system symbol that holds a value of its
// own (T, the standard streams ...) never become frames.
static bool may_name_frame(Node* s) {
  if (!s || get_property(s, s_readonly)) return false;
  return !get_property(s, s_keyword) || !symbol_value(s);
}

Node* make_frame(Node* s) {
  if (framep(symbol_value(s))) return symbol_value(s);
  if (!may_name_frame(s)) return nullptr;
  Node* f = nullptr;
  PROTECT(s);
  PROTECT(f);
  set_owned(s);
  f = make_frame_node(s);
  set_slot(s, S_VALUE, f);
  Node* is_slot_ = new_slot(fs_is, s);
  set_slot(is_slot_, S_VALUE, frame_of(fs_frame));
  set_slot(f, FR_SLOTS, make_cons(is_slot_, nullptr));
  Node* top = frame_of(fs_frame);
  if (top) set_slot(top, FR_CHILDREN, make_cons(f, slot(top, FR_CHILDREN)));
  frame_events().frame_added(symbol_name(s));
  UNPROTECT(2);
  return f;
}

Node* find_or_add_slot(Node* f, Node* n) {
  if (!framep(f) || !symbolp(n)) return nullptr;
  Node* found = own_slot(f, n);
  if (found) return found;
  if (is_inheritance_relation(n)) {
    set_inheritance(f, n, frame_of(fs_frame));
    return car(slot(f, FR_SLOTS));
  }
  Node* s = nullptr;
  PROTECT(f);
  PROTECT(s);
  s = new_slot(n, slot(f, FR_NAME));
  Node* cell = make_cons(s, nullptr);
  Node* l = slot(f, FR_SLOTS);
  if (!consp(l)) {
    set_slot(f, FR_SLOTS, cell);
  } else {
    while (consp(cdr(l))) l = cdr(l);
    set_cdr(l, cell);
  }
  if (triggers_on()) {
    fire_one(f, ON_ENTER, s);
    fire_slot_trigger(s, ON_NEWINST, false, nullptr);
  }
  UNPROTECT(2);
  return s;
}

Node* set_inheritance(Node* x, Node* r, Node* p) {
  if (framep(x)) x = slot(x, FR_NAME);
  if (!symbolp(x) || !symbolp(r)) return nullptr;
  if (!framep(p)) report_error("value must be a frame", p);
  Node* f = frame_of(x);
  if (!f) return nullptr;
  // A frame made its own parent would be a cycle too.
  if (f == p || is_ancestor(p, f)) report_error("cycled binding", slot(p, FR_NAME));
  Node* s = nullptr;
  PROTECT(x);
  PROTECT(r);
  PROTECT(p);
  PROTECT(f);
  PROTECT(s);
  unlink_frame(f);
  s = new_slot(r, x);
  set_slot(s, S_VALUE, p);
  set_slot(f, FR_SLOTS, make_cons(s, slot(f, FR_SLOTS)));
  if (symbolp(slot(p, FR_NAME)))
    frame_events().parent_changed(symbol_name(x), symbol_name(slot(p, FR_NAME)));
  if (triggers_on()) {
    fire_one(f, ON_ENTER, s);
    fire_slot_trigger(s, ON_NEWINST, false, nullptr);
  }
  set_slot(p, FR_CHILDREN, make_cons(f, slot(p, FR_CHILDREN)));
  if (triggers_on()) fire_one(p, ON_NEWCHILD, f);
  UNPROTECT(5);
  return p;
}

void unlink_frame(Node* f) {
  Node* l = inheritance_slot(f);
  if (!l) return;
  Node* parents = nullptr;
  PROTECT(f);
  PROTECT(l);
  PROTECT(parents);
  if (triggers_on()) {
    fire_one(f, ON_REMOVE, l);
    fire_slot_trigger(l, ON_REMINST, false, nullptr);
  }
  parents = symbol_value(l);
  if (!consp(parents)) parents = make_cons(parents, nullptr);
  for (Node* p = parents; consp(p); p = cdr(p)) {
    Node* parent = car(p);
    if (!framep(parent)) continue;
    if (triggers_on()) fire_one(parent, ON_REMCHILD, f);
    remove_from(parent, FR_CHILDREN, f);
  }
  remove_from(f, FR_SLOTS, l);
  UNPROTECT(3);
}

void remove_slot(Node* s) {
  Node* f = slot_owner_frame(s);
  if (!f || !member(s, slot(f, FR_SLOTS))) return;
  PROTECT(s);
  PROTECT(f);
  if (triggers_on()) {
    fire_one(f, ON_REMOVE, s);
    fire_slot_trigger(s, ON_REMINST, false, nullptr);
  }
  if (is_inheritance_slot(f, s)) set_inheritance(f, fs_is, frame_of(fs_frame));
  else remove_from(f, FR_SLOTS, s);
  UNPROTECT(2);
}

void delete_frame(Node* s) {
  Node* f = frame_of(s);
  if (!f) report_error("argument to delframe is not a frame", s);
  Node* rest = nullptr;
  PROTECT(s);
  PROTECT(f);
  PROTECT(rest);
  unlink_frame(f);
  // Front to back over a copy: removal cuts the cells it takes out.
  for (Node* l = slot(f, FR_SLOTS); consp(l); l = cdr(l)) rest = make_cons(car(l), rest);
  Node* order = nullptr;
  PROTECT(order);
  for (; rest; rest = cdr(rest)) order = make_cons(car(rest), order);
  for (; order; order = cdr(order)) remove_slot(car(order));
  UNPROTECT(1);
  clear_owned(s);
  // The name no longer stands for the frame, so ADDFRAME makes a new one.
  if (symbol_value(s) == f) set_slot(s, S_VALUE, nullptr);
  frame_events().frame_removed(symbol_name(s));
  unintern_symbol(s);
  UNPROTECT(3);
}

// The numbers a parent's name was last found taken up to.  Without a
// removal from the object array since, they are all still taken, so the
// search for the first free one goes on from there: a parent with many
// children no longer tries every number before its last child's.
struct ChildHint {
  char name[64];
  int taken;
};
static ChildHint child_hints[256];
static long child_hints_valid_at = -1;

static ChildHint& child_hint(const char* name) {
  if (child_hints_valid_at != obarray_removals) {
    for (ChildHint& h : child_hints) h = ChildHint{};
    child_hints_valid_at = obarray_removals;
  }
  unsigned hash = 5381;
  for (const char* c = name; *c; c++) hash = hash * 33 + (unsigned char)*c;
  return child_hints[hash % 256];
}

// Names too long for the hints: every number is tried, in a Lisp string
// buffer as long as the name.
static Node* child_symbol_of_long_name(Node* s) {
  int32_t len = string_length(slot(s, S_PNAME));
  Node* buf = make_string_of_size(len + 8);
  PROTECT(buf);
  Node* result = nullptr;
  for (int i = 1; i <= 65535; i++) {
    snprintf(buf->u.str, (size_t)len + 8, "%s%d", symbol_name(s), i);
    if (!find_symbol(buf->u.str)) {
      result = intern_symbol(buf->u.str);
      break;
    }
  }
  UNPROTECT(1);
  return result;
}

Node* child_symbol(Node* s) {
  ChildHint probe{};
  size_t len = strlen(symbol_name(s));
  if (len >= sizeof probe.name) return child_symbol_of_long_name(s);
  memcpy(probe.name, symbol_name(s), len + 1);
  ChildHint& hint = child_hint(probe.name);
  int first = strcmp(hint.name, probe.name) == 0 ? hint.taken + 1 : 1;
  char buf[sizeof probe.name + 12];
  for (int i = first; i <= 65535; i++) {
    snprintf(buf, sizeof buf, "%s%d", probe.name, i);
    if (find_symbol(buf)) continue;
    Node* result = intern_symbol(buf);
    probe.taken = i;
    hint = probe;
    return result;
  }
  return nullptr;
}

Node* add_child(Node* p) {
  Node* parent = frame_of(p);
  if (!parent) report_error("symbol value should be a frame", p);
  PROTECT(p);
  Node* c = child_symbol(p);
  PROTECT(c);
  Node* f = c ? make_frame(c) : nullptr;
  if (f) set_inheritance(c, fs_is, frame_of(p));
  UNPROTECT(2);
  return f;
}

}  // namespace velloq
