// Entries whose behaviour belongs to the frame system and the frame
// databases: they answer "function not implemented" until those
// parts are linked in.
#include "builtin_handlers.h"
#include "errors.h"

namespace velloq {

#define PENDING(name) \
  Node* name() { report_error("function not implemented"); }

PENDING(bi_addframe)
PENDING(bi_delframe)
PENDING(bi_getowner)
PENDING(bi_getchildren)
PENDING(bi_getparents)
PENDING(bi_getslotlist)
PENDING(bi_setslotvalue)
PENDING(bi_addslot)
PENDING(bi_delslot)
PENDING(bi_get_inheritance_slot)
PENDING(bi_setparents)
PENDING(bi_checkis)
PENDING(bi_getname)
PENDING(bi_addchild)
PENDING(bi_findslot)
PENDING(bi_defslot)
PENDING(bi_childsymbol)
PENDING(bi_getdatabases)
PENDING(bi_save)
PENDING(bi_restore)

}  // namespace velloq
