// FORMAT: ~A, ~S, ~%, ~~ and the tilde before a line end.
#include "builtin_handlers.h"
#include "errors.h"
#include "eval.h"
#include "printer.h"
#include "streams.h"
#include "symbols.h"

namespace velloq {

// Takes the next argument of the directives ("too few arguments" when
// none is left).
static Node* format_arg(Node*** args, int* left) {
  if (*left <= 0) report_error("too few arguments");
  (*left)--;
  Node* a = **args;
  (*args)++;
  return a;
}

// (FORMAT destination control args...): destination NIL collects into a
// new string, T writes to the standard output, a stream receives the text.
Node* bi_format() {
  Node* dest = next_arg();
  Node* control = string_arg();
  Node* out;
  if (!dest) out = make_unnamed_stream();
  else if (dest == s_t) out = standard_output();
  else out = check_stream(dest);
  PROTECT(out);
  Node** args = argp;
  int left = argc_left;
  argc_left = 0;
  const char* p = control->u.str;
  const char* end = p + string_length(control);
  while (p < end) {
    char c = *p++;
    if (c != '~') {
      stream_put_char(out, (unsigned char)c);
      continue;
    }
    if (p >= end) report_error("expecting a format directive");
    char d = *p++;
    switch (d) {
      case 'A': case 'a': print_node(out, format_arg(&args, &left), false); break;
      case 'S': case 's': print_node(out, format_arg(&args, &left), true); break;
      case '%': stream_put_char(out, '\n'); break;
      case '~': stream_put_char(out, '~'); break;
      case '\n':
        // The line end and the white space after it are skipped.
        while (p < end && (*p == ' ' || *p == '\t')) p++;
        break;
      default:
        report_error("unknown format directive", make_string_bytes(p - 1, (int32_t)(end - p + 1)));
    }
  }
  Node* r = dest ? nullptr : ustream_take_string(out);
  UNPROTECT(1);
  return r;
}

}  // namespace velloq
