// Streams: file streams, string streams (character queues) and the console,
// which reaches the terminal through the interface a front end supplies.
#pragma once

#include "node.h"

namespace velloq {

// What a front end supplies: the seam between the interpreter and the terminal.
// Each is called with the front end's own context, so a front end needs no
// globals of its own.  Every function member may be null.
struct ConsoleIO {
  void* context;
  void (*write_char)(void* context, int c, bool error_colour);
  void (*write_string)(void* context, const char* s, bool error_colour);
  // Asked when the console input is used up while a program reads: makes
  // the next line the console input; false at end of input.
  bool (*read_more)(void* context);
  bool (*break_requested)(void* context);
  void (*process_events)(void* context);
  void (*exit_hook)(void* context);
};
extern ConsoleIO console;
extern bool console_error_colour;  // set while the error text is written
extern long output_count;          // every character written to any stream
extern FILE* dribble_file;         // transcript of console traffic, or null

// The terminal input text (Windows-1251, ends at its NUL).
void set_console_input(const char* text);
void clear_console_input();
// Whether console reading may ask the front end for more lines.
extern bool console_may_read_more;

int stream_get_char(Node* s);
void stream_unget_char(Node* s, int c);
int stream_peek_char(Node* s);
void stream_put_char(Node* s, int c);
void stream_put_string(Node* s, const char* text);
void stream_put_bytes(Node* s, const char* text, long len);

// The three console markers.
extern Node* console_stream;
void init_console_streams();
Node* standard_input();
Node* standard_output();
Node* error_output();
Node* trace_output();

// Checks a stream argument: NIL, an open file stream or a string stream.
Node* check_stream(Node* s);
// Empties a string stream's queue into a string or a list of characters.
Node* ustream_take_string(Node* s);
Node* ustream_take_list(Node* s);

}  // namespace velloq
