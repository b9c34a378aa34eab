// The printer: nodes as text, with or without escapes.
#pragma once

#include "node.h"

namespace velloq {

void print_node(Node* stream, Node* x, bool escape);
// Pretty printing with line breaks and indentation.
void pprint_node(Node* stream, Node* x);
// The text of a fixnum or flonum through the checked print formats.
void format_fixnum(char* buf, int size, int32_t v);
void format_flonum(char* buf, int size, double v);
// Checks a program-set C format: exactly one conversion of the given kind
// ('i' integer, 'f' floating), flags, width and precision allowed.
bool valid_number_format(const char* fmt, char kind);
// Called when a context is resumed: a list left half printed is over.
void reset_printer_state();

}  // namespace velloq
