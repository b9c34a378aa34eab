// The reader: the read table, tokens, numbers and the read macros.
#pragma once

#include "node.h"

namespace velloq {

enum ReadStatus { READ_EOF = 0, READ_NOTHING = 1, READ_VALUE = 2 };

ReadStatus read_expression(Node* stream, Node** out);
// Reads until a value is found; false at the end of the stream.
bool read_value(Node* stream, Node** out);
// Builds *READTABLE* (the read-macro built-ins must exist).
void init_readtable();
// True when text is a number by the reader's rules.
bool has_number_syntax(const char* text);
// The read-table class of a character (a class symbol, a macro cons, NIL).
Node* char_class(int c);

// Read-macro handlers (positions 0 to 10 of the built-in table).
Node* rm_dispatch();
Node* rm_quote();
Node* rm_string();
Node* rm_backquote();
Node* rm_comma();
Node* rm_list();
Node* rm_right_paren();
Node* rm_comment();
Node* rm_unused();
Node* rm_read_eval();

}  // namespace velloq
