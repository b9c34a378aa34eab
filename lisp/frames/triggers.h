// Triggers: handlers found as the function of a frame's own slot named
// after the kind, called with the objects concerned.
#pragma once

#include "node.h"

namespace velloq {

enum TriggerKind {
  ON_UPDATE, ON_SETVAL, ON_GETVAL, ON_FUNCAL, ON_SETFUN, ON_REMOVE, ON_ENTER,
  ON_REMINST, ON_NEWINST, ON_NEWCHILD, ON_REMCHILD, ON_EVAL
};

// True while *TRIGGERS* is not NIL.  Never raises.
bool triggers_on();
// Fires kind on the frame target with argc argument objects (handed over
// as they are, never evaluated again).  A handler without required
// parameters gets none.  Nothing happens when triggers are off, target is
// no frame or it has no handler.  May raise whatever the handler raises.
void fire_trigger(Node* target, TriggerKind kind, int argc, Node** args);
// Fires a slot-level kind on the slot class of slot s: with arg first when
// with_arg, then s and its owner frame.
void fire_slot_trigger(Node* s, TriggerKind kind, bool with_arg, Node* arg);

}  // namespace velloq
