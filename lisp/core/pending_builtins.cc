// Entries whose behaviour belongs to the prompt dialog: they answer
// "function not implemented" until it is linked in.
#include "builtin_handlers.h"
#include "errors.h"

namespace velloq {

#define PENDING(name) \
  Node* name() { report_error("function not implemented"); }

PENDING(bi_askbox)
PENDING(bi_getint)
PENDING(bi_getstring)
PENDING(bi_getnum)
PENDING(bi_getfloat)

}  // namespace velloq
