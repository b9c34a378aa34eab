// The database built-ins: SAVE, RESTORE and GETDATABASES.
#include "builtin_handlers.h"
#include "databases.h"
#include "eval.h"

namespace velloq {

Node* bi_save() {
  last_arg();
  save_all_databases();
  return nullptr;
}

Node* bi_restore() {
  last_arg();
  load_database_list(database_list_file());
  return nullptr;
}

Node* bi_getdatabases() {
  last_arg();
  return list_databases();
}

}  // namespace velloq
