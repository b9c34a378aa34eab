// Helpers shared by the special forms.
#pragma once

#include "node.h"

namespace velloq {

// Takes the next form of *l ("too few arguments" when none is left).
Node* take_form(Node** l);
// Raises "too many arguments" when forms are left.
void no_more_forms(Node* l);
// Runs a tag body inside a GO context; the value is the last form's value.
// Evaluates (allocates, may raise); body is protected.
Node* run_tagbody(Node* body);
// Pushes a new, empty frame on the variable environment.  Allocates.
void push_env_frame();
// Builds (a b).  Allocates; protects a and b.
Node* list2(Node* a, Node* b);
// Makes a closure from (lambda-list body...) under the given name and type.
// Allocates; raises "bad formal argument list" on a malformed one.
Node* closure_from(Node* name, Node* type, Node* def);

}  // namespace velloq
