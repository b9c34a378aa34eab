// Firing triggers.  The handler gets the objects of the operation as they
// are: they are put on the argument stack directly, never evaluated again,
// so reading a slot inside an ON_GETVAL handler does not re-enter it.
#include "triggers.h"

#include "eval.h"
#include "frames.h"

namespace velloq {

bool triggers_on() { return fs_triggers && symbol_value(fs_triggers) != nullptr; }

// How many required parameters fn has; -1 when it is no closure.
static int required_count(Node* fn) {
  if (!closurep(fn)) return -1;
  int n = 0;
  for (Node* l = slot(fn, 2); consp(l); l = cdr(l)) n++;
  return n;
}

void fire_trigger(Node* target, TriggerKind kind, int argc, Node** args) {
  if (!triggers_on() || !framep(target)) return;
  Node* handler_slot = own_slot(target, fs_kind[kind]);
  if (!handler_slot) return;
  Node* fn = symbol_function(handler_slot);
  if (!fn) return;
  if (required_count(fn) == 0) argc = 0;
  call_function(fn, argc, args);
}

void fire_slot_trigger(Node* s, TriggerKind kind, bool with_arg, Node* arg) {
  if (!triggers_on()) return;
  Node* cls = slot_class(s);
  if (!cls) return;
  Node* args[3];
  int n = 0;
  if (with_arg) args[n++] = arg;
  args[n++] = s;
  args[n++] = slot_owner_frame(s);
  fire_trigger(cls, kind, n, args);
}

}  // namespace velloq
