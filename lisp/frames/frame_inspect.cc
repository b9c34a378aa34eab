// Reading frames for the browser windows.  Values are printed by the
// interpreter's own printer into a memory stream; a structure too large or
// too deep to print in bounded time is shown cut, and an error the printer
// raises (a nesting too deep) is caught here, so reading never leaves by
// the error path and never runs the front end's event loop.
#include "frame_inspect.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "context.h"
#include "databases.h"
#include "frames.h"
#include "printer.h"
#include "streams.h"
#include "symbols.h"

namespace velloq {

namespace {

enum { CLOSURE_REQ = 2, CLOSURE_BODY = 7, CLOSURE_LAMBDA = 10, CLOSURE_SLOTS = 11 };
const long kPrintBudget = 200000;  // nodes the printer may visit for one value
const int kMaxDepth = 500;
const char kCut[] = " ...";

// ---- printing ----

// True when printing x visits at most *budget nodes within kMaxDepth
// levels; circular structures exhaust the budget.
bool printable(Node* x, long* budget, int depth) {
  if (--*budget < 0 || depth > kMaxDepth) return false;
  if (!x) return true;
  switch (x->kind) {
    case K_CONS:
      for (; consp(x); x = cdr(x)) {
        if (--*budget < 0 || !printable(car(x), budget, depth + 1)) return false;
      }
      return printable(x, budget, depth + 1);
    case K_ARRAY:
      for (int32_t i = 0; i < x->num; i++)
        if (!printable(slot(x, i), budget, depth + 1)) return false;
      return true;
    case K_CLOSURE:
      for (int i = 0; i < CLOSURE_SLOTS; i++)
        if (!printable(slot(x, i), budget, depth + 1)) return false;
      return true;
    case K_FRAME: return printable(slot(x, FR_SLOTS), budget, depth + 1);
    default: return true;
  }
}

// A memory stream that keeps the first kMaxPrintedBytes and drops the rest.
struct CappedText {
  std::string text;
  bool cut = false;
};

ssize_t capped_write(void* cookie, const char* buf, size_t size) {
  auto* t = static_cast<CappedText*>(cookie);
  size_t room = kMaxPrintedBytes - std::min<size_t>(t->text.size(), kMaxPrintedBytes);
  t->text.append(buf, std::min(size, room));
  if (size > room) t->cut = true;
  return static_cast<ssize_t>(size);
}

// Runs the printer on x without letting it poll the front end (no event
// loop, no user break) and without the error path printing anything.
void print_guarded(Node* x, CappedText* out) {
  cookie_io_functions_t io{nullptr, capped_write, nullptr, nullptr};
  FILE* fp = fopencookie(out, "w", io);
  if (!fp) {
    out->cut = true;
    return;
  }
  // A stream node of our own: printing to a file stream allocates nothing.
  Node stream{};
  stream.kind = K_FSTREAM;
  stream.u.fp = fp;
  ConsoleIO saved = console;
  console.break_requested = nullptr;
  console.process_events = nullptr;
  Context ctx;
  begin_context(&ctx, CX_ERROR, nullptr);
  if (setjmp(ctx.resume) == 0) print_node(&stream, x, true);
  else out->cut = true;
  end_context(&ctx);
  console = saved;
  fclose(fp);
}

std::string printed(Node* x) {
  long budget = kPrintBudget;
  if (!printable(x, &budget, 0)) return std::string(kCut + 1);
  CappedText out;
  print_guarded(x, &out);
  if (out.cut) out.text += kCut;
  return out.text;
}

// ---- names ----

std::string name_of(Node* sym) { return symbolp(sym) ? symbol_name(sym) : std::string(); }

std::string frame_name(Node* f) { return framep(f) ? name_of(slot(f, FR_NAME)) : printed(f); }

Node* frame_named(const std::string& name) {
  Node* s = find_symbol(name.c_str());
  Node* v = symbolp(s) ? symbol_value(s) : nullptr;
  return framep(v) ? v : nullptr;
}

// Windows-1251 letters folded to upper case, for sorting names.
std::string folded(const std::string& s) {
  std::string r = s;
  for (char& c : r) {
    unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || u >= 224) c = static_cast<char>(u - 32);
  }
  return r;
}

void sort_names(std::vector<std::string>& names) {
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    std::string fa = folded(a), fb = folded(b);
    return fa != fb ? fa < fb : a < b;
  });
}

// The parents in f's inheritance slot (one frame, or each element of a list).
std::vector<Node*> parents_of(Node* f) {
  std::vector<Node*> out;
  Node* is = inheritance_slot(f);
  if (!is) return out;
  Node* v = symbol_value(is);
  if (!consp(v)) {
    if (v) out.push_back(v);
    return out;
  }
  long left = mem_stats.total_nodes;
  for (; consp(v) && left-- > 0; v = cdr(v)) out.push_back(car(v));
  return out;
}

std::vector<Node*> children_of(Node* f) {
  std::vector<Node*> out;
  long left = mem_stats.total_nodes;
  for (Node* l = slot(f, FR_CHILDREN); consp(l) && left-- > 0; l = cdr(l))
    if (framep(car(l))) out.push_back(car(l));
  return out;
}

// ---- slots ----

// Lisp text that evaluates to x: self-evaluating objects as printed,
// frames and self-bound symbols by name, other symbols, lists and vectors
// quoted.
std::string value_form(Node* x, const std::string& text) {
  if (framep(x)) return name_of(slot(x, FR_NAME));
  if (symbolp(x) && symbol_value(x) == x) return text;
  if (symbolp(x) || consp(x) || arrayp(x)) return "'" + text;
  return text;
}

InspectedSlot inspect_slot(Node* s, Node* owner, bool inherited) {
  InspectedSlot out;
  out.name = name_of(s);
  out.source = frame_name(owner);
  out.inherited = inherited;
  out.inheritance = is_inheritance_relation(s);
  Node* v = symbol_value(s);
  out.value = printed(v);
  out.value_form = value_form(v, out.value);
  Node* fn = symbol_function(s);
  if (fn) {
    out.has_method = true;
    if (closurep(fn)) {
      Node* lambda = slot(fn, CLOSURE_LAMBDA);
      out.parameters = lambda ? printed(lambda) : "()";
      long left = mem_stats.total_nodes;
      for (Node* b = slot(fn, CLOSURE_BODY); consp(b) && left-- > 0; b = cdr(b)) {
        if (!out.body.empty()) out.body += '\n';
        out.body += printed(car(b));
      }
    } else {
      out.parameters = "()";
      out.body = printed(fn);
    }
  }
  return out;
}

bool has_slot_named(const std::vector<InspectedSlot>& slots, Node* s) {
  const char* n = symbol_name(s);
  return std::any_of(slots.begin(), slots.end(),
                     [&](const InspectedSlot& x) { return x.name == n; });
}

// The slots of f's ancestors that f does not hold itself, nearest first
// (depth first through the parents in order), each name once.
void add_inherited_slots(Node* f, std::vector<InspectedSlot>* slots) {
  std::unordered_set<Node*> seen{f};
  std::vector<Node*> stack;
  std::vector<Node*> ps = parents_of(f);
  for (auto it = ps.rbegin(); it != ps.rend(); ++it) stack.push_back(*it);
  while (!stack.empty()) {
    Node* a = stack.back();
    stack.pop_back();
    if (!framep(a) || !seen.insert(a).second) continue;
    long left = mem_stats.total_nodes;
    for (Node* l = slot(a, FR_SLOTS); consp(l) && left-- > 0; l = cdr(l)) {
      Node* s = car(l);
      if (!symbolp(s) || is_inheritance_relation(s) || has_slot_named(*slots, s)) continue;
      slots->push_back(inspect_slot(s, a, true));
    }
    ps = parents_of(a);
    for (auto it = ps.rbegin(); it != ps.rend(); ++it) stack.push_back(*it);
  }
}

}  // namespace

bool inspect_frame(const std::string& name, InspectedFrame* out) {
  Node* f = frame_named(name);
  if (!f) return false;
  *out = InspectedFrame{};
  out->name = frame_name(f);
  out->system = frame_is_system(out->name);
  for (Node* p : parents_of(f)) out->parents.push_back(frame_name(p));
  out->children = frame_child_names(name);
  long left = mem_stats.total_nodes;
  for (Node* l = slot(f, FR_SLOTS); consp(l) && left-- > 0; l = cdr(l))
    if (symbolp(car(l))) out->slot_list.push_back(inspect_slot(car(l), f, false));
  add_inherited_slots(f, &out->slot_list);
  return true;
}

bool frame_exists(const std::string& name) { return frame_named(name) != nullptr; }

bool frame_is_system(const std::string& name) {
  // The frames init_frames builds; their names are system symbols, as are
  // those of built-in functions, which users may well give to frames.
  static const char* const kBuiltIn[] = {
      "NODE", "FRAME", "INHERITANCE", "IS", "USTREAM", "STREAM", "VECTOR", "STRING",
      "LIST", "NUMBER", "FIXNUM", "FLONUM", "CLOSURE", "SYMBOL", "SLOT", "HANDLER",
      "VALUETYPE", "VALUEFORMAT", "DATABASE", "ARGS", "RULE", "TASK", "ON_UPDATE",
      "ON_SETVAL", "ON_GETVAL", "ON_FUNCAL", "ON_SETFUN", "ON_REMOVE", "ON_ENTER",
      "ON_REMINST", "ON_NEWINST", "ON_NEWCHILD", "ON_REMCHILD", "ON_EVAL"};
  Node* f = frame_named(name);
  if (!f || !get_property(slot(f, FR_NAME), s_keyword)) return false;
  return std::any_of(std::begin(kBuiltIn), std::end(kBuiltIn),
                     [&](const char* b) { return name == b; });
}

std::vector<std::string> frame_child_names(const std::string& name) {
  std::vector<std::string> names;
  Node* f = frame_named(name);
  if (!f) return names;
  for (Node* c : children_of(f)) names.push_back(frame_name(c));
  sort_names(names);
  return names;
}

bool frame_has_children(const std::string& name) {
  Node* f = frame_named(name);
  return f && consp(slot(f, FR_CHILDREN));
}

std::vector<std::string> frame_subtree_for_deletion(const std::string& name) {
  std::vector<std::string> order;
  Node* root = frame_named(name);
  if (!root) return order;
  // Pre-order over the children, each frame once; a frame goes with the
  // deleted one only when every parent of it goes too.
  std::unordered_set<Node*> taken{root};
  std::vector<Node*> pre{root};
  std::vector<Node*> stack = children_of(root);
  while (!stack.empty()) {
    Node* c = stack.back();
    stack.pop_back();
    if (taken.count(c)) continue;
    std::vector<Node*> ps = parents_of(c);
    bool all_taken = !ps.empty() && std::all_of(ps.begin(), ps.end(),
                                                [&](Node* p) { return taken.count(p) > 0; });
    if (!all_taken) continue;
    taken.insert(c);
    pre.push_back(c);
    for (Node* g : children_of(c)) stack.push_back(g);
  }
  for (auto it = pre.rbegin(); it != pre.rend(); ++it) order.push_back(frame_name(*it));
  return order;
}

std::vector<DatabaseFrames> project_database_frames() {
  std::vector<DatabaseFrames> out;
  Node* root = symbol_value(fs_node);
  if (!framep(root)) return out;
  // The walk of SAVE: depth first, pre-order, each frame once, the file
  // named by the nearest DATABASE string above.
  std::vector<std::pair<Node*, std::string>> stack{{root, std::string()}};
  std::unordered_set<Node*> seen;
  while (!stack.empty()) {
    Node* f = stack.back().first;
    std::string file = std::move(stack.back().second);
    stack.pop_back();
    if (!seen.insert(f).second) continue;
    Node* db = own_slot(f, fs_database);
    if (db && stringp(symbol_value(db))) file = symbol_value(db)->u.str;
    if (!file.empty()) {
      auto it = std::find_if(out.begin(), out.end(),
                             [&](const DatabaseFrames& d) { return d.file == file; });
      if (it == out.end()) it = out.insert(out.end(), DatabaseFrames{file, {}});
      it->frames.push_back(frame_name(f));
    }
    std::vector<Node*> cs = children_of(f);
    for (auto it = cs.rbegin(); it != cs.rend(); ++it) stack.push_back({*it, file});
  }
  return out;
}

std::string current_list_file() { return database_list_file(); }
void set_current_list_file(const std::string& name) { set_database_list_file(name.c_str()); }

std::string printed_text_of_symbol_value(const std::string& symbol) {
  Node* s = find_symbol(symbol.c_str());
  return printed(symbolp(s) ? symbol_value(s) : nullptr);
}

}  // namespace velloq
