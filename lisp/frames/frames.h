// The frame system: frames and their slots, the inheritance hierarchy and
// the reserved symbols it is built from.
//
// A frame is a FRAME node (slots, children, name) bound as the value of its
// name symbol, which carries /OWNED.  A slot is an uninterned symbol whose
// owner cell holds the frame's name and whose print-name string node is
// shared with the interned symbol of the same name, so slot names compare
// by the identity of that string node.
#pragma once

#include "node.h"

namespace velloq {

// ---- the reserved symbols (interned with /KEYWORD, so always reachable) ----
extern Node *fs_node, *fs_frame, *fs_is, *fs_inheritance, *fs_triggers, *fs_database,
    *fs_args, *fs_instance, *fs_owner, *fs_arg, *fs_slot, *fs_handler;
// The handler kinds, indexed by TriggerKind (triggers.h).
extern Node* fs_kind[12];

// Finds the reserved symbols by name, binds INSTANCE, OWNER and ARG to
// themselves and sets *TRIGGERS* to T.  Allocates.
void bind_frame_symbols();
// bind_frame_symbols, then the built-in hierarchy from NODE down.
// Allocates; may raise (only when memory runs out).
void init_frames();

// ---- names and lookups: none of these allocates or raises ----
inline bool same_slot_name(Node* a, Node* b) { return slot(a, S_PNAME) == slot(b, S_PNAME); }
// A slot: a symbol with an owner.
inline bool is_slot(Node* s) { return symbolp(s) && slot(s, S_OWNER) != nullptr; }
// The frame that owns slot s, or NIL.
Node* slot_owner_frame(Node* s);
// F's own slot named like name, or NIL (F not a frame, name not a symbol).
Node* own_slot(Node* f, Node* name);
// True when name's global namesake is a child of INHERITANCE.
bool is_inheritance_relation(Node* name);
// F's inheritance slot (the first slot whose name is a relation), or NIL.
Node* inheritance_slot(Node* f);
// True when s is F's inheritance slot.
bool is_inheritance_slot(Node* f, Node* s);
// The frame that is the value of the interned symbol named like s, or NIL.
Node* slot_class(Node* s);
// intern_symbol through a small cache of recent names (the object array's
// buckets grow long with many frames).  Allocates.
Node* intern_name(const char* name);
// For a non-frame object and the relation IS, the frame of its type; NIL
// for other kinds and other relation names.
Node* type_frame(Node* object, Node* relation);
// True when a is an ancestor of x through inheritance slots.
bool is_ancestor(Node* x, Node* a);

// ---- structure operations (each may raise: triggers run Lisp) ----
// Returns S's frame, making it (child of FRAME, slot IS) when S's value is
// no frame; NIL for NIL, a read-only symbol or a system symbol with a
// value.  Fires nothing.  Allocates.
Node* make_frame(Node* s);
// F's slot named n, added at the end (or as the new inheritance slot for a
// relation name) when missing; NIL when F is no frame or n no symbol.
Node* find_or_add_slot(Node* f, Node* n);
// Links the frame X (or the frame named X) under parent p through the
// relation r; returns p, or NIL when X or r is unsuitable.  Raises "value
// must be a frame" and "cycled binding" before changing anything.
Node* set_inheritance(Node* x, Node* r, Node* p);
// Takes F's inheritance slot out, with F out of each parent's children.
void unlink_frame(Node* f);
// Removes slot s from its frame (ON_REMOVE, ON_REMINST first).  An
// inheritance slot is replaced by IS -> FRAME instead.
void remove_slot(Node* s);
// Unlinks and empties the frame named s and undefines s.  Raises
// "argument to delframe is not a frame".
void delete_frame(Node* s);
// CHILDSYMBOL: the first free interned name s1, s2 ... s65535, or NIL.
Node* child_symbol(Node* s);
// ADDCHILD: a new frame under p's frame.  Raises "symbol value should be a
// frame".
Node* add_child(Node* p);

// ---- values and functions of a chosen target (frame_lookup.cc) ----
// Stores value into the slot or symbol target: refused (NIL) when protected,
// set-inheritance for an inheritance slot, else ON_SETVAL, store,
// ON_UPDATE.  Returns value, or NIL when refused.
Node* store_value(Node* target, Node* value);
// The value of a slot (ON_GETVAL first) or symbol.
Node* fetch_value(Node* target);
// Stores fn as the function of target: refused when protected; NIL
// removes the target (remove_slot, or the symbol is undefined); else
// ON_SETFUN, store, ON_UPDATE.
void store_function(Node* target, Node* fn);
// The function cell of a slot (ON_FUNCAL first) or symbol.
Node* fetch_function(Node* target);
// The target a global name stands for: s itself when it is a slot, else
// the own slot of that name of the frame SELF, else s.
Node* choose_target(Node* s, Node* self);

}  // namespace velloq
