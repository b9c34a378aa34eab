// The printer: nodes as text, with or without escapes.
#pragma once

#include "node.h"

namespace velloq {

// Printing writes to a stream, so it allocates when that is a string
// stream; x and stream are protected.  Circular lists are not detected.

// Writes x; with escape, as the reader would read it back (PRIN1), else
// as text (PRINC).
void print_node(Node* stream, Node* x, bool escape);
// Pretty printing with line breaks and indentation.
void pprint_node(Node* stream, Node* x);
// The text of a fixnum or flonum into buf (size bytes) through
// *INTEGER-FORMAT* and *FLOAT-FORMAT*, or the default format when the
// program's is invalid.  Never raises.
void format_fixnum(char* buf, int size, int32_t v);
void format_flonum(char* buf, int size, double v);
// Checks a program-set C format: exactly one conversion of the given kind
// ('i' integer, 'f' floating), flags, width and precision allowed.
bool valid_number_format(const char* fmt, char kind);
// Called when a context is resumed: a list left half printed is over.
void reset_printer_state();

}  // namespace velloq
