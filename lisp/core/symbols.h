// Symbols: the object array, interning, property lists, attributes and the
// system symbols the interpreter refers to.
#pragma once

#include "node.h"

namespace velloq {

enum { OBARRAY_SIZE = 199 };

// The object-array hash of a name for a table of `size` buckets.
int hash_name(const char* name, int size);
// The symbol of that name in the object array, made and entered when
// missing ("NIL" gives NIL).  Allocates.
Node* intern_symbol(const char* name);
// The symbol of that name in the object array, or NIL.  Never raises.
Node* find_symbol(const char* name);
// Removes sym from its bucket unless it is a system symbol (/KEYWORD
// property) or read-only, or a frame takes the owned symbol over.  Never raises.
void unintern_symbol(Node* sym);
// A new symbol outside the object array; a name beginning with a slash
// (and longer than it) names a keyword, whose value is itself.  Allocates;
// make_symbol_named protects and shares the print-name node.
Node* make_symbol(const char* name);
Node* make_symbol_named(Node* name_string);
// The property prop of sym, or NIL.  Never raises.
Node* get_property(Node* sym, Node* prop);
// Sets or adds a property.  Allocates when adding; protects sym, prop and
// value.
void put_property(Node* sym, Node* prop, Node* value);
// Removes a property when present.  Never raises.
void remove_property(Node* sym, Node* prop);
// Marks or unmarks sym as owned by a frame (the /OWNED property).
// set_owned allocates; protects sym.
void set_owned(Node* sym);
void clear_owned(Node* sym);
// True for NIL and for read-only or owned symbols, whose cells ordinary
// assignment leaves alone.  Never raises.
bool is_protected(Node* sym);
// Sets the value cell whatever the symbol's attributes.  Never raises.
void set_symbol_value(Node* sym, Node* value);

// Makes the object array and the system symbols in their order.
// Allocates; node memory must be ready.
void init_symbols();
// Finds the system symbols again by name (after a workspace was restored).
// Allocates (a missing one is interned).
void bind_system_symbols();

}  // namespace velloq
