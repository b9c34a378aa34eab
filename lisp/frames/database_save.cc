// Saving the frame databases.  The walk from NODE and the printing touch
// no Lisp memory, so nothing is collected or raised while the C++ buffers
// live; the terminal is told the outcome afterwards.
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "atomic_file.h"
#include "databases.h"
#include "frames.h"
#include "streams.h"
#include "symbols.h"

namespace velloq {

static char list_file_name[1024] = "databases.dat";
static bool last_save_failed = false;

void set_database_list_file(const char* name) {
  snprintf(list_file_name, sizeof list_file_name, "%s", name);
}

const char* database_list_file() { return list_file_name; }

// The frame's own DATABASE string, or NIL.
static Node* own_database(Node* f) {
  Node* s = own_slot(f, fs_database);
  return s && stringp(symbol_value(s)) ? symbol_value(s) : nullptr;
}

// Visits the frames below NODE depth first, pre-order, each once, with the
// database string in force there (NIL when none).  A frame met is flagged
// (nothing here allocates or raises, so every flag is cleared at the end);
// the node count bounds a children list made circular by hand.
template <typename Visit>
static void walk_frames(Visit visit) {
  Node* root = symbol_value(fs_node);
  if (!framep(root)) return;
  std::vector<std::pair<Node*, Node*>> stack{{root, nullptr}};
  std::vector<Node*> seen;
  std::vector<Node*> children;
  long limit = mem_stats.total_nodes;
  while (!stack.empty()) {
    auto [f, file] = stack.back();
    stack.pop_back();
    if (f->flags & F_WALKED) continue;
    f->flags |= F_WALKED;
    seen.push_back(f);
    Node* own = own_database(f);
    if (own) file = own;
    visit(f, file, own);
    children.clear();
    long n = 0;
    for (Node* l = slot(f, FR_CHILDREN); consp(l) && n < limit; l = cdr(l), n++)
      if (framep(car(l))) children.push_back(car(l));
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back({*it, file});
  }
  for (Node* f : seen) f->flags &= (uint8_t)~F_WALKED;
}

struct SaveOutcome {
  long frames;
  char failures[2048];  // "; cannot save ...\n" lines, cut when too many
};

static void note_failure(SaveOutcome* out, const std::string& file, const std::string& why) {
  size_t used = strlen(out->failures);
  snprintf(out->failures + used, sizeof out->failures - used, "; cannot save %s: %s\n", file.c_str(),
           why.c_str());
}

static void write_databases(SaveOutcome* out) {
  std::vector<std::pair<std::string, std::string>> files;  // name, records, in first-write order
  walk_frames([&](Node* f, Node* file, Node*) {
    if (!file || string_length(file) == 0) return;
    std::string name(file->u.str, (size_t)string_length(file));
    size_t i = 0;
    while (i < files.size() && files[i].first != name) i++;
    if (i == files.size()) files.push_back({name, std::string()});
    print_db_record(files[i].second, f);
    out->frames++;
  });
  std::string list;
  for (auto& [name, records] : files) {
    std::string why;
    if (!fileio::replaceFile(name, records, &why)) note_failure(out, name, why);
    list += name;
    list += '\n';
  }
  std::string why;
  if (!fileio::replaceFile(list_file_name, list, &why)) note_failure(out, list_file_name, why);
}

void save_all_databases() {
  Node* out = standard_output();
  stream_put_string(out, "; saving database\n");
  SaveOutcome outcome;
  outcome.frames = 0;
  outcome.failures[0] = 0;
  write_databases(&outcome);
  last_save_failed = outcome.failures[0] != 0;
  if (last_save_failed) stream_put_string(out, outcome.failures);
  char line[64];
  snprintf(line, sizeof line, "; %ld frames saved\n", outcome.frames);
  stream_put_string(out, line);
}

bool database_save_failed() { return last_save_failed; }

// The walk gathers the strings in a buffer that outlives any error; they
// go into a vector as soon as it is made.  A collection while it is made can
// run the *GC-HOOK*, which may change the frames: then the vector is filled
// by a second walk instead.
Node* list_databases() {
  static std::vector<Node*> files;
  files.clear();
  walk_frames([&](Node*, Node*, Node* own) {
    if (own) files.push_back(own);
  });
  long count = (long)files.size();
  int collections = mem_stats.collections;
  Node* found = make_vector((int32_t)count);
  PROTECT(found);
  long i = 0;
  if (mem_stats.collections == collections) {
    for (; i < count; i++) set_slot(found, (int32_t)i, files[(size_t)i]);
  } else {
    walk_frames([&](Node*, Node*, Node* own) {
      if (own && i < count) set_slot(found, (int32_t)i++, own);
    });
  }
  files.clear();
  Node* result = nullptr;
  PROTECT(result);
  for (long k = i - 1; k >= 0; k--) result = make_cons(slot(found, (int32_t)k), result);
  UNPROTECT(2);
  return result;
}

}  // namespace velloq
