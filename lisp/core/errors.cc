// The error path: the error text, ERRSET and LOAD traps, the top level.
#include "errors.h"

#include <cstdlib>

#include "context.h"
#include "printer.h"
#include "streams.h"

namespace velloq {

bool error_print_enabled = true;
bool fatal_error_seen = false;
static bool printing_error = false;  // an error text is being printed

void print_error_text(const char* message, Node* value, bool has_value) {
  // An error raised while the text is printed must not print again.
  if (printing_error) return;
  if (!console_stream) {
    // Start-up failed before the console stream was made: straight to the
    // front end, or the message would be lost.
    if (console.write_string) {
      console.write_string(console.context, "error: ", true);
      console.write_string(console.context, message, true);
      console.write_string(console.context, "\n", true);
    }
    return;
  }
  printing_error = true;
  console_error_colour = true;
  stream_put_string(console_stream, "error: ");
  stream_put_string(console_stream, message);
  if (has_value) {
    stream_put_string(console_stream, " - ");
    Node* out = error_output();
    print_node(out, value, true);
    stream_put_char(out, '\n');
  } else {
    stream_put_char(console_stream, '\n');
  }
  console_error_colour = false;
  printing_error = false;
}

[[noreturn]] static void raise(const char* message, Node* value, bool has_value) {
  for (Context* c = context_chain; c; c = c->prev) {
    if (!(c->kinds & CX_ERROR)) continue;
    if (c->tag && message) print_error_text(message, value, has_value);
    unwind_to(c, CX_ERROR, nullptr);
  }
  print_error_text(message, value, has_value);
  for (Context* c = context_chain; c; c = c->prev)
    if (c->kinds & CX_BREAK) unwind_to(c, CX_BREAK, nullptr);
  print_error_text("no previous break level", nullptr, false);
  if (console.exit_hook) console.exit_hook(console.context);
  exit(3);
}

void reset_error_state() { printing_error = false; }

void report_error(const char* message) { raise(message, nullptr, false); }
void report_error(const char* message, Node* value) { raise(message, value, true); }

void fatal_error(const char* message) {
  print_error_text(message, nullptr, false);
  fatal_error_seen = true;
  if (console.exit_hook) console.exit_hook(console.context);
  for (Context* c = context_chain; c; c = c->prev)
    if (c->kinds & CX_TOPLEVEL) unwind_to(c, CX_BREAK, nullptr);
  exit(3);
}

}  // namespace velloq
