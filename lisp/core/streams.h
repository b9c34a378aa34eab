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
  // Waits for the reply line a program asks for (GETSTRING and the like):
  // sets *line to it, without its line end, valid until the next call;
  // false at end of input.
  bool (*read_reply)(void* context, const char** line);
  // Asks question in the prompt dialog (ASKBOX): sets *answer, valid until
  // the next call; false when the user cancelled or input ended.
  bool (*ask)(void* context, const char* question, const char** answer);
  bool (*break_requested)(void* context);
  void (*process_events)(void* context);
  void (*exit_hook)(void* context);
};
extern ConsoleIO console;
extern bool console_error_colour;  // set while the error text is written
extern long output_count;          // every character written to any stream
extern FILE* dribble_file;         // transcript of console traffic, or null

// Copies text the user typed into the transcript (DRIBBLE), when one is
// open: the transcript holds the terminal's input as well as its output.
void dribble_input(const char* text, long len);
// Closes the transcript, when one is open.  Never raises.
void close_dribble();

// The terminal input text (Windows-1251, ends at its NUL).
void set_console_input(const char* text);
void clear_console_input();
// Whether console reading may ask the front end for more lines.
extern bool console_may_read_more;

// Byte streams: s is NIL (no stream), a FILE-STREAM or an UNNAMED-STREAM,
// not checked here.  Writing to or pushing back into a string stream
// allocates (s is protected).  Reading raises "bad stream" when a string
// stream holds a non-character.
// The next byte of s, or -1 at its end (the console may ask the front end
// for another line).
int stream_get_char(Node* s);
// Gives back one byte c read from s (-1 is ignored).
void stream_unget_char(Node* s, int c);
// The next byte of s without taking it, or -1.
int stream_peek_char(Node* s);
// Writes one byte, a NUL-terminated text or len bytes to s; counted in
// output_count.  Console text goes to the front end and the transcript.
void stream_put_char(Node* s, int c);
void stream_put_string(Node* s, const char* text);
void stream_put_bytes(Node* s, const char* text, long len);

// Makes the console stream and sets the standard stream variables to it.
// Allocates.
void init_console_streams();
// The stream a standard variable names; one holding something other than
// a stream means the console, NIL means none.  Never raises.
Node* standard_input();
Node* standard_output();
Node* error_output();
Node* trace_output();

// Checks a stream argument: NIL, an open file stream or a string stream
// pass; raises "file not open" or "bad argument type".
Node* check_stream(Node* s);
// Empties a string stream's queue into a string or a list of characters.
// ustream_take_string allocates (s protected) and raises "bad stream" or
// "insufficient string space"; ustream_take_list never raises.
Node* ustream_take_string(Node* s);
Node* ustream_take_list(Node* s);
// Called when a context is resumed: console text is no longer in the
// error colour.
void reset_stream_state();

}  // namespace velloq
