// Feeds arbitrary bytes to the frame database loader as the text of a
// database file, then prints every frame back as a database record.  Each
// input starts from a fresh interpreter; handlers that a file defines run
// under a step limit, and the built-ins that touch files are removed.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "context.h"
#include "databases.h"
#include "frames.h"
#include "node.h"
#include "streams.h"
#include "symbols.h"
#include "toplevel.h"

using namespace velloq;

namespace {

long polls = 0;
const long kPollLimit = 3000;

bool step_limit_reached(void*) { return ++polls > kPollLimit; }
void discard_char(void*, int, bool) {}
void discard_string(void*, const char*, bool) {}

char path[] = "/tmp/velloq-db-fuzz-XXXXXX";

bool prepare() {
  int fd = mkstemp(path);
  if (fd < 0) abort();
  close(fd);
  setenv("VELLOQ_HEAP_LIMIT", "268435456", 1);
  return true;
}

void start() {
  console = ConsoleIO{};
  console.write_char = discard_char;
  console.write_string = discard_string;
  console.break_requested = step_limit_reached;
  if (!start_interpreter()) abort();
  const char* unsafe[] = {"OPEN", "LOAD", "DRIBBLE", "SAVE", "RESTORE"};
  for (const char* name : unsafe) set_slot(intern_symbol(name), S_FUNCTION, nullptr);
}

// Prints every frame below NODE, as SAVE would, into memory.
void print_all(Node* f, int depth, std::string& out) {
  if (!framep(f) || depth > 100 || out.size() > (1u << 20)) return;
  print_db_record(out, f);
  for (Node* l = slot(f, FR_CHILDREN); consp(l); l = cdr(l)) print_all(car(l), depth + 1, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool prepared = prepare();
  (void)prepared;
  if (size > 65536) return 0;
  FILE* fp = fopen(path, "wb");
  if (!fp) abort();
  fwrite(data, 1, size, fp);
  fclose(fp);
  polls = 0;
  start();
  Context ctx;
  begin_context(&ctx, CX_TOPLEVEL | CX_BREAK, s_t);
  if (setjmp(ctx.resume) == 0) {
    load_database_file(path);
    std::string out;
    print_all(symbol_value(fs_node), 0, out);
  }
  end_context(&ctx);
  stop_interpreter();
  return 0;
}
