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

// The system symbols.
extern Node *s_t, *s_keyword, *s_owned, *s_readonly, *s_create_time, *s_change_time, *s_dot,
    *s_quote, *s_function, *s_backquote, *s_comma, *s_comma_at, *s_lambda, *s_macro, *s_eql,
    *s_integer_format, *s_float_format, *s_plus1, *s_plus2, *s_plus3, *s_star1, *s_star2,
    *s_star3, *s_minus, *s_setf, *s_car, *s_cdr, *s_nth, *s_aref, *s_get, *s_symbol_value,
    *s_symbol_function, *s_symbol_plist, *s_readtable, *s_white_space, *s_constituent,
    *s_sescape, *s_mescape, *s_tmacro, *s_nmacro, *s_test, *s_test_not, *s_direction, *s_input,
    *s_output, *s_print_case, *s_upcase, *s_downcase, *s_start, *s_end, *s_start1, *s_end1,
    *s_start2, *s_end2, *s_verbose, *s_print, *s_count, *s_key, *s_optional, *s_rest,
    *s_lkey, *s_allow_other_keys, *s_aux, *s_standard_input, *s_standard_output,
    *s_error_output, *s_debug_io, *s_trace_output, *s_evalhook, *s_applyhook, *s_tracelist,
    *s_tracenable, *s_tracelimit, *s_gc_flag, *s_gc_hook, *s_self;
// Type symbols by node kind (NIL for kind 8 and codes without a kind).
extern Node* kind_symbols[15];

}  // namespace velloq
