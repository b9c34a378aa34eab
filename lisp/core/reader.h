// The reader: the read table, tokens, numbers and the read macros.
#pragma once

#include "node.h"

namespace velloq {

enum ReadStatus { READ_EOF = 0, READ_NOTHING = 1, READ_VALUE = 2 };

// Reading runs read macros, which are Lisp functions: it allocates and may
// raise (syntax errors such as "unexpected EOF", and whatever a macro
// raises).  The stream is protected; *out should be a protected local, as
// it is set before the read ends.

// Reads one expression from stream into *out: READ_VALUE, READ_NOTHING (a
// macro that gives no value, such as a comment) or READ_EOF.
ReadStatus read_expression(Node* stream, Node** out);
// Reads until a value is found; false at the end of the stream.
bool read_value(Node* stream, Node** out);
// Builds *READTABLE* (the read-macro built-ins must exist).  Allocates.
void init_readtable();
// True when text is a number by the reader's rules.  Never raises.
bool has_number_syntax(const char* text);
// The read-table class of a character (a class symbol, a macro cons, NIL).
// Never raises.
Node* char_class(int c);

// Read-macro handlers (positions 0 to 10 of the built-in table): built-ins
// of (stream char) that give NIL or a list of the value read.
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
