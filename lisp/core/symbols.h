// Symbols: the object array, interning, property lists, attributes and the
// system symbols the interpreter refers to.
#pragma once

#include "node.h"

namespace velloq {

enum { OBARRAY_SIZE = 199 };

// The object-array hash of a name for a table of `size` buckets.
int hash_name(const char* name, int size);
Node* intern_symbol(const char* name);
Node* find_symbol(const char* name);
// Removes sym from its bucket unless it is a system or read-only symbol.
void unintern_symbol(Node* sym);
Node* make_symbol(const char* name);
Node* make_symbol_named(Node* name_string);  // shares the print-name node
Node* get_property(Node* sym, Node* prop);
void put_property(Node* sym, Node* prop, Node* value);
void remove_property(Node* sym, Node* prop);
void set_owned(Node* sym);
void clear_owned(Node* sym);
bool is_protected(Node* sym);
void set_symbol_value(Node* sym, Node* value);

// Makes the object array and the system symbols in their order.
void init_symbols();
// Finds the system symbols again by name (after a workspace was restored).
void bind_system_symbols();

}  // namespace velloq
