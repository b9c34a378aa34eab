// The reserved symbols of the frame system and the built-in hierarchy
// built from them at start.
#include "frame_events.h"
#include "frames.h"
#include "symbols.h"
#include "triggers.h"

namespace velloq {

Node *fs_node, *fs_frame, *fs_is, *fs_inheritance, *fs_triggers, *fs_database, *fs_args,
    *fs_instance, *fs_owner, *fs_arg, *fs_slot, *fs_handler;
Node* fs_kind[12];

static const char* const kKindNames[12] = {
    "ON_UPDATE", "ON_SETVAL", "ON_GETVAL", "ON_FUNCAL", "ON_SETFUN", "ON_REMOVE",
    "ON_ENTER", "ON_REMINST", "ON_NEWINST", "ON_NEWCHILD", "ON_REMCHILD", "ON_EVAL"};

void bind_frame_symbols() {
  struct { const char* name; Node** target; } named[] = {
      {"NODE", &fs_node}, {"FRAME", &fs_frame}, {"IS", &fs_is},
      {"INHERITANCE", &fs_inheritance}, {"*TRIGGERS*", &fs_triggers},
      {"DATABASE", &fs_database}, {"ARGS", &fs_args}, {"INSTANCE", &fs_instance},
      {"OWNER", &fs_owner}, {"ARG", &fs_arg}, {"SLOT", &fs_slot}, {"HANDLER", &fs_handler}};
  for (auto& n : named) *n.target = intern_symbol(n.name);
  for (int k = 0; k < 12; k++) fs_kind[k] = intern_symbol(kKindNames[k]);
  set_slot(fs_instance, S_VALUE, fs_instance);
  set_slot(fs_owner, S_VALUE, fs_owner);
  set_slot(fs_arg, S_VALUE, fs_arg);
}

// A frame with no slots at all, made outside make-frame.
static Node* bare_frame(Node* s) {
  PROTECT(s);
  set_owned(s);
  Node* f = make_frame_node(s);
  set_slot(s, S_VALUE, f);
  frame_events().frame_added(symbol_name(s));
  UNPROTECT(1);
  return f;
}

static void frame_under(const char* name, const char* parent) {
  Node* s = intern_symbol(name);
  make_frame(s);
  set_inheritance(s, fs_is, symbol_value(intern_symbol(parent)));
}

// The ARGS list of a handler kind, from the names of the arguments.
static void set_args(TriggerKind kind, const char* a, const char* b, const char* c) {
  const char* names[3] = {a, b, c};
  Node* l = nullptr;
  PROTECT(l);
  for (int i = 2; i >= 0; i--)
    if (names[i]) l = make_cons(intern_symbol(names[i]), l);
  Node* s = find_or_add_slot(symbol_value(fs_kind[kind]), fs_args);
  set_slot(s, S_VALUE, l);
  UNPROTECT(1);
}

void init_frames() {
  bind_frame_symbols();
  set_slot(fs_triggers, S_VALUE, s_t);
  bare_frame(fs_node);
  bare_frame(fs_frame);
  make_frame(fs_inheritance);
  Node* is_frame = bare_frame(fs_is);
  PROTECT(is_frame);
  Node* is_slot_ = find_or_add_slot(is_frame, fs_is);
  set_slot(is_slot_, S_VALUE, symbol_value(fs_inheritance));
  set_slot(symbol_value(fs_inheritance), FR_CHILDREN, make_cons(is_frame, nullptr));
  UNPROTECT(1);
  frame_under("FRAME", "NODE");
  const char* under_node[] = {"USTREAM", "STREAM", "VECTOR", "STRING", "LIST", "NUMBER"};
  for (const char* n : under_node) frame_under(n, "NODE");
  frame_under("FIXNUM", "NUMBER");
  frame_under("FLONUM", "NUMBER");
  const char* more_under_node[] = {"CLOSURE", "SYMBOL", "SLOT", "HANDLER"};
  for (const char* n : more_under_node) frame_under(n, "NODE");
  frame_under("ON_SETVAL", "HANDLER");
  frame_under("INHERITANCE", "SLOT");
  frame_under("VALUETYPE", "SLOT");
  frame_under("VALUEFORMAT", "SLOT");
  frame_under("DATABASE", "SLOT");
  const char* handlers[] = {"ON_EVAL", "ON_GETVAL", "ON_REMOVE", "ON_UPDATE", "ON_ENTER", "ON_FUNCAL",
                            "ON_SETFUN", "ON_REMINST", "ON_NEWINST", "ON_NEWCHILD", "ON_REMCHILD"};
  for (const char* n : handlers) frame_under(n, "HANDLER");
  frame_under("ARGS", "SLOT");
  make_frame(intern_symbol("RULE"));
  make_frame(intern_symbol("TASK"));
  set_args(ON_GETVAL, "INSTANCE", "OWNER", nullptr);
  set_args(ON_SETVAL, "ARG", "INSTANCE", "OWNER");
  set_args(ON_UPDATE, "ARG", "INSTANCE", "OWNER");
  set_args(ON_FUNCAL, "INSTANCE", "OWNER", nullptr);
  set_args(ON_SETFUN, "ARG", "INSTANCE", "OWNER");
  set_args(ON_ENTER, "ARG", nullptr, nullptr);
  set_args(ON_NEWINST, "INSTANCE", "OWNER", nullptr);
  set_args(ON_REMOVE, "ARG", nullptr, nullptr);
  set_args(ON_REMINST, "INSTANCE", "OWNER", nullptr);
  set_args(ON_NEWCHILD, "ARG", nullptr, nullptr);
  set_args(ON_REMCHILD, "ARG", nullptr, nullptr);
  set_args(ON_EVAL, "INSTANCE", "OWNER", nullptr);
}

}  // namespace velloq
