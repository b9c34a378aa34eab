// Reading the workspace image.  The image is parsed and checked into a
// description of its nodes first (nothing here raises a Lisp error, so the
// description may use containers); only a sound image is then copied into
// fresh node memory.
#include "workspace_image.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "builtins.h"
#include "eval.h"
#include "file_streams.h"
#include "heap.h"
#include "symbols.h"

namespace velloq {

const WorkspaceLimits default_workspace_limits = {4L << 20, 16L << 20, (size_t)64 << 20};

namespace {

enum { FIXNUM_NODES = 384, CHAR_NODES = 256, PERMANENT_NODES = FIXNUM_NODES + CHAR_NODES };
// A FRAME node of the image: its slots are not in the image, so the frame
// is dropped and every reference to it reads as NIL.
enum { DROPPED = -1 };
enum { CLOSURE_SLOTS = 12 };

// One node as the image describes it.  Kind 0 is a node the image does not
// describe (a free node).  For CONS and UNNAMED-STREAM, a and b are the car
// and cdr node numbers; for the others the raw payload words.  `data` is
// where a vector's slot numbers start in Image::slots, or a string's bytes
// in the file.
struct ImageNode {
  int8_t kind;
  uint32_t a;
  uint32_t b;
  uint32_t data;
};

struct Image {
  const unsigned char* bytes;
  size_t size;
  size_t pos;  // read position in bytes
  std::vector<ImageNode> nodes;
  std::vector<uint32_t> slots;
  uint32_t obarray;
  const char* refusal;
};

// ---- reading ----

bool refuse(Image& im, const char* why) {
  if (!im.refusal) im.refusal = why;
  return false;
}

size_t bytes_left(const Image& im) { return im.size - im.pos; }

// A 32-bit number, least significant byte first; a byte 255 ends it early
// and it reads as 0.  False when the file ends inside it.
bool read_number(Image& im, uint32_t* out) {
  *out = 0;
  for (int i = 0; i < 4; i++) {
    if (im.pos >= im.size) return false;
    unsigned char b = im.bytes[im.pos++];
    if (b == 255) {
      *out = 0;
      return true;
    }
    *out |= (uint32_t)b << (8 * i);
  }
  return true;
}

uint32_t le32(const unsigned char* p) {
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

bool is_vectorlike_kind(int kind) {
  return kind == K_SYMBOL || kind == K_ARRAY || kind == K_CLOSURE || kind == K_KIND8;
}

void describe_permanent_nodes(Image& im) {
  im.nodes.assign(PERMANENT_NODES, ImageNode{});
  for (int i = 0; i < FIXNUM_NODES; i++) im.nodes[i] = {K_FIXNUM, (uint32_t)(int32_t)(i - 128), 0, 0};
  for (int i = 0; i < CHAR_NODES; i++) im.nodes[FIXNUM_NODES + i] = {K_CHAR, (uint32_t)i, 0, 0};
}

// A record may describe a permanent node only as that node is.
bool permanent_node_kept(const ImageNode& given, const ImageNode& fixed) {
  return given.kind == fixed.kind && given.a == fixed.a;
}

bool read_record(Image& im, int kind, uint32_t position, const WorkspaceLimits& limits) {
  if (kind <= K_FREE || kind > K_FRAME) return refuse(im, "bad node kind");
  long index = (long)(position / 2) - 1;
  if (index >= limits.max_nodes) return refuse(im, "more nodes than allowed");
  ImageNode n = {(int8_t)kind, 0, 0, 0};
  if (kind == K_CONS || kind == K_USTREAM) {
    if (!read_number(im, &n.a) || !read_number(im, &n.b)) return refuse(im, "file ends inside a record");
  } else {
    if (bytes_left(im) < 8) return refuse(im, "file ends inside a record");
    n.a = le32(im.bytes + im.pos);
    n.b = le32(im.bytes + im.pos + 4);
    im.pos += 8;
  }
  if (index < PERMANENT_NODES) {
    if (!permanent_node_kept(n, im.nodes[index])) return refuse(im, "permanent node changed");
    return true;
  }
  if (kind == K_CHAR) return refuse(im, "character outside the character segment");
  if ((size_t)index >= im.nodes.size()) im.nodes.resize((size_t)index + 1, ImageNode{});
  if (kind == K_FRAME) n = {DROPPED, 0, 0, 0};
  im.nodes[index] = n;
  return true;
}

bool read_records(Image& im, const WorkspaceLimits& limits) {
  uint32_t position = 2;
  while (im.pos < im.size) {
    int kind = (int8_t)im.bytes[im.pos++];
    if (kind == K_FREE) {
      uint32_t next;
      if (!read_number(im, &next)) return refuse(im, "file ends inside a record");
      if (next == 0) return true;
      if ((next & 1) || next < position) return refuse(im, "bad record position");
      if ((long)(next / 2) - 1 > limits.max_nodes) return refuse(im, "more nodes than allowed");
      position = next;
      continue;
    }
    if (!read_record(im, kind, position, limits)) return false;
    position += 2;
  }
  return true;
}

// Slot numbers and string bytes follow the records in node order.  Every
// count is checked against the bytes left: each number takes one byte at
// least.
bool read_data(Image& im, const WorkspaceLimits& limits) {
  for (ImageNode& n : im.nodes) {
    if (is_vectorlike_kind(n.kind)) {
      int32_t count = (int32_t)n.a;
      if (count < 0 || (size_t)count > bytes_left(im)) return refuse(im, "slot count beyond the file");
      if ((long)(im.slots.size() + (size_t)count) > limits.max_slots) return refuse(im, "more slots than allowed");
      n.data = (uint32_t)im.slots.size();
      for (int32_t i = 0; i < count; i++) {
        uint32_t number;
        if (!read_number(im, &number)) return refuse(im, "file ends inside slot data");
        im.slots.push_back(number);
      }
    } else if (n.kind == K_STRING) {
      int32_t length = (int32_t)n.a;
      if (length < 1 || (size_t)length > bytes_left(im)) return refuse(im, "string length beyond the file");
      n.data = (uint32_t)im.pos;
      im.pos += (size_t)length;
    }
  }
  return true;
}

// ---- checking ----

// Node numbers name the nodes the image describes: 0 is NIL, n names the
// node at index n / 2 - 1.
bool names_node(const Image& im, uint32_t number) {
  if (number == 0) return true;
  if (number & 1) return false;
  size_t index = number / 2 - 1;
  return index < im.nodes.size() && im.nodes[index].kind != K_FREE && im.nodes[index].kind != DROPPED;
}

bool names_dropped(const Image& im, uint32_t number) {
  size_t index = number / 2 - 1;
  return number && !(number & 1) && index < im.nodes.size() && im.nodes[index].kind == DROPPED;
}

void forget_dropped(const Image& im, uint32_t* number) {
  if (names_dropped(im, *number)) *number = 0;
}

// References to dropped frames become NIL: the frames come back from their
// databases, the built-in ones from the frame system's start-up.
void forget_dropped_frames(Image& im) {
  for (ImageNode& n : im.nodes) {
    if (n.kind == K_CONS || n.kind == K_USTREAM) {
      forget_dropped(im, &n.a);
      forget_dropped(im, &n.b);
    } else if (is_vectorlike_kind(n.kind)) {
      for (int32_t i = 0; i < (int32_t)n.a; i++) forget_dropped(im, &im.slots[n.data + (size_t)i]);
    }
  }
  forget_dropped(im, &im.obarray);
}

const ImageNode* node_of(const Image& im, uint32_t number) {
  return number ? &im.nodes[number / 2 - 1] : nullptr;
}

int kind_of(const Image& im, uint32_t number) { return number ? (int)node_of(im, number)->kind : (int)K_FREE; }

uint32_t slot_of(const Image& im, const ImageNode& n, int i) { return im.slots[n.data + (size_t)i]; }

bool references_known(Image& im) {
  for (const ImageNode& n : im.nodes) {
    if (n.kind == K_CONS || n.kind == K_USTREAM) {
      if (!names_node(im, n.a) || !names_node(im, n.b)) return refuse(im, "node number out of range");
    } else if (is_vectorlike_kind(n.kind)) {
      for (int32_t i = 0; i < (int32_t)n.a; i++)
        if (!names_node(im, slot_of(im, n, i))) return refuse(im, "node number out of range");
    }
  }
  return true;
}

// Lists the interpreter walks without checking, each checked once: a walk
// stops at a cons already known good or bad, and a cons met again within
// one walk is a cycle.
enum ListShape { L_SYMBOLS, L_PARAMS, L_KEY_PARAMS, L_ENV, L_FRAME, L_QUEUE, L_SHAPES };
enum { UNSEEN = 0, GOOD = 1, BAD = 2, WALKING = 3 };

struct ListChecker {
  Image& im;
  std::vector<uint8_t> state[L_SHAPES];
  std::vector<uint32_t> last_cons;  // for good lists: the number of their last cons
};

bool proper_list_of_length(const Image& im, uint32_t l, int length, uint32_t* items) {
  for (int i = 0; i < length; i++) {
    if (kind_of(im, l) != K_CONS) return false;
    items[i] = node_of(im, l)->a;
    l = node_of(im, l)->b;
  }
  return l == 0;
}

bool symbol_or_nil(const Image& im, uint32_t x) { return x == 0 || kind_of(im, x) == K_SYMBOL; }

bool list_good(ListChecker& lc, uint32_t list, ListShape shape);

bool element_good(ListChecker& lc, uint32_t x, ListShape shape) {
  const Image& im = lc.im;
  uint32_t items[4];
  switch (shape) {
    case L_SYMBOLS: return kind_of(im, x) == K_SYMBOL;
    case L_PARAMS:  // (symbol default flag)
      return proper_list_of_length(im, x, 3, items) && kind_of(im, items[0]) == K_SYMBOL &&
             symbol_or_nil(im, items[2]);
    case L_KEY_PARAMS:  // (keyword symbol default flag)
      return proper_list_of_length(im, x, 4, items) && kind_of(im, items[1]) == K_SYMBOL &&
             symbol_or_nil(im, items[3]);
    case L_ENV: return list_good(lc, x, L_FRAME);
    case L_FRAME: return kind_of(im, x) == K_CONS;
    case L_QUEUE: return kind_of(im, x) == K_CHAR;
    default: return false;
  }
}

bool list_good(ListChecker& lc, uint32_t list, ListShape shape) {
  if (list == 0) return true;
  std::vector<uint8_t>& state = lc.state[shape];
  if (state.empty()) state.assign(lc.im.nodes.size(), UNSEEN);
  std::vector<uint32_t> walked;
  int verdict = GOOD;
  uint32_t last = 0;
  for (uint32_t l = list; l; l = node_of(lc.im, l)->b) {
    if (kind_of(lc.im, l) != K_CONS) {
      verdict = BAD;
      break;
    }
    uint8_t s = state[l / 2 - 1];
    if (s == GOOD) {
      last = lc.last_cons[l / 2 - 1];
      break;
    }
    if (s == BAD || s == WALKING) {
      verdict = BAD;
      break;
    }
    state[l / 2 - 1] = WALKING;
    walked.push_back(l);
    last = l;
    if (!element_good(lc, node_of(lc.im, l)->a, shape)) {
      verdict = BAD;
      break;
    }
  }
  if (lc.last_cons.empty()) lc.last_cons.assign(lc.im.nodes.size(), 0);
  for (uint32_t l : walked) {
    state[l / 2 - 1] = (uint8_t)verdict;
    lc.last_cons[l / 2 - 1] = last;
  }
  return verdict == GOOD;
}

bool closure_good(ListChecker& lc, const ImageNode& n) {
  const Image& im = lc.im;
  if ((int32_t)n.a != CLOSURE_SLOTS) return false;
  return list_good(lc, slot_of(im, n, C_REQ), L_SYMBOLS) &&
         list_good(lc, slot_of(im, n, C_OPT), L_PARAMS) &&
         symbol_or_nil(im, slot_of(im, n, C_REST)) &&
         list_good(lc, slot_of(im, n, C_KEY), L_KEY_PARAMS) &&
         list_good(lc, slot_of(im, n, C_AUX), L_PARAMS) &&
         list_good(lc, slot_of(im, n, C_ENV), L_ENV) &&
         list_good(lc, slot_of(im, n, C_FENV), L_ENV);
}

// A string stream's queue: conses of characters from its head to its tail.
bool queue_good(ListChecker& lc, const ImageNode& n) {
  if ((n.a == 0) != (n.b == 0)) return false;
  if (n.a == 0) return true;
  if (!list_good(lc, n.a, L_QUEUE)) return false;
  return lc.last_cons[n.a / 2 - 1] == n.b;
}

bool builtin_good(const ImageNode& n) {
  int32_t position = (int32_t)n.b;
  return position >= 0 && position < BUILTIN_COUNT && builtin_table[position].kind == n.kind &&
         builtin_table[position].handler;
}

bool symbol_good(const Image& im, const ImageNode& n) {
  return (int32_t)n.a == SYMBOL_SLOTS && kind_of(im, slot_of(im, n, S_PNAME)) == K_STRING &&
         symbol_or_nil(im, slot_of(im, n, S_OWNER));
}

bool object_array_good(ListChecker& lc) {
  const Image& im = lc.im;
  if (im.obarray == 0 || kind_of(im, im.obarray) != K_SYMBOL) return false;
  uint32_t table = slot_of(im, *node_of(im, im.obarray), S_VALUE);
  if (kind_of(im, table) != K_ARRAY || (int32_t)node_of(im, table)->a != OBARRAY_SIZE) return false;
  for (int i = 0; i < OBARRAY_SIZE; i++)
    if (!list_good(lc, slot_of(im, *node_of(im, table), i), L_SYMBOLS)) return false;
  return true;
}

bool nodes_well_formed(Image& im) {
  ListChecker lc{im, {}, {}};
  for (size_t i = PERMANENT_NODES; i < im.nodes.size(); i++) {
    const ImageNode& n = im.nodes[i];
    bool good = true;
    switch (n.kind) {
      case K_SUBR: case K_FSUBR: good = builtin_good(n); break;
      case K_SYMBOL: good = symbol_good(im, n); break;
      case K_CLOSURE: good = closure_good(lc, n); break;
      case K_USTREAM: good = queue_good(lc, n); break;
      case K_FSTREAM: good = n.b <= 256; break;  // pushed-back character + 1, or 0
      default: break;
    }
    if (!good) return refuse(im, "malformed node");
  }
  if (!object_array_good(lc)) return refuse(im, "malformed object array");
  return true;
}

bool parse_image(Image& im, const WorkspaceLimits& limits) {
  describe_permanent_nodes(im);
  if (!read_number(im, &im.obarray) || im.obarray == 0) return refuse(im, "no object array");
  if (!read_records(im, limits) || !read_data(im, limits)) return false;
  forget_dropped_frames(im);
  if (!names_node(im, im.obarray)) return refuse(im, "node number out of range");
  return references_known(im) && nodes_well_formed(im);
}

// ---- rebuilding node memory ----

struct NodeMap {
  std::vector<Node*> segment_starts;
  long segment_size;
};

Node* node_at(const NodeMap& map, long index) {
  if (index < PERMANENT_NODES) return node_by_number(index);
  long k = index - PERMANENT_NODES;
  return map.segment_starts[(size_t)(k / map.segment_size)] + k % map.segment_size;
}

Node* node_named(const NodeMap& map, uint32_t number) {
  return number ? node_at(map, (long)(number / 2) - 1) : nullptr;
}

// Copies one described node.  False with the message when the heap refuses.
bool fill_node(const Image& im, const NodeMap& map, const ImageNode& d, Node* n, const char** failure) {
  n->kind = d.kind;
  n->flags = 0;
  n->num = 0;
  n->u.c.car = n->u.c.cdr = nullptr;
  switch (d.kind) {
    case K_SUBR: case K_FSUBR:
      n->num = (int32_t)d.b;
      n->u.fn = builtin_table[d.b].handler;
      break;
    case K_CONS: case K_USTREAM:
      n->u.c.car = node_named(map, d.a);
      n->u.c.cdr = node_named(map, d.b);
      break;
    case K_SYMBOL: case K_ARRAY: case K_CLOSURE: {
      int32_t count = (int32_t)d.a;
      if (count == 0) break;
      Node** slots = static_cast<Node**>(heap_alloc(sizeof(Node*) * (size_t)count));
      if (!slots) {
        *failure = "insufficient memory - vector";
        return false;
      }
      for (int32_t i = 0; i < count; i++) slots[i] = node_named(map, slot_of(im, d, i));
      // A closure's arity is this system's own: calls bind by it, so an
      // image's is not taken.  Without one, a call takes the ordinary way.
      if (d.kind == K_CLOSURE) slots[C_ARITY] = nullptr;
      n->u.slots = slots;
      n->num = count;
      mem_stats.total_bytes += 4L * count;
      break;
    }
    case K_STRING: {
      int32_t length = (int32_t)d.a;
      char* text = static_cast<char*>(heap_alloc((size_t)length));
      if (!text) {
        *failure = "insufficient memory - string";
        return false;
      }
      memcpy(text, im.bytes + d.data, (size_t)length);
      text[length - 1] = 0;
      n->u.str = text;
      n->num = length;
      mem_stats.total_bytes += length;
      break;
    }
    case K_FIXNUM: n->num = (int32_t)d.a; break;
    case K_FLONUM: {
      uint64_t bits = (uint64_t)d.a | (uint64_t)d.b << 32;
      memcpy(&n->u.flo, &bits, sizeof bits);
      break;
    }
    case K_FSTREAM: n->num = (int32_t)d.b; break;  // left closed
    default: break;                                 // kind 8 keeps no slots
  }
  return true;
}

WorkspaceOutcome no_memory(const char* message) {
  init_node_memory();
  return {WKS_NO_MEMORY, message, "heap refused"};
}

WorkspaceOutcome rebuild_node_memory(const Image& im) {
  if (!init_node_memory()) return no_memory("insufficient memory - fixnum segment");
  long ordinary = (long)im.nodes.size() - PERMANENT_NODES;
  NodeMap map = {{}, mem_stats.alloc_size};
  while (mem_stats.total_nodes < ordinary) {
    if (!add_segment()) return no_memory("insufficient memory - segment");
    map.segment_starts.push_back(node_by_number(PERMANENT_NODES + mem_stats.total_nodes - map.segment_size));
  }
  const char* failure = nullptr;
  for (long i = PERMANENT_NODES; i < (long)im.nodes.size(); i++) {
    const ImageNode& d = im.nodes[(size_t)i];
    if (d.kind == K_FREE || d.kind == DROPPED) continue;
    if (!fill_node(im, map, d, node_at(map, i), &failure)) return no_memory(failure);
  }
  obarray_symbol = node_named(map, im.obarray);
  methods_made = true;  // the image may hold methods; not worth finding out
  collect_garbage();
  return {WKS_RESTORED, "", ""};
}

WorkspaceOutcome restore_checked(const unsigned char* data, size_t size, const WorkspaceLimits& limits) {
  if (size > limits.max_file_bytes) return {WKS_REFUSED, "reading workspace file", "image file too large"};
  Image im = {data, size, 0, {}, {}, 0, nullptr};
  if (!parse_image(im, limits)) return {WKS_REFUSED, "reading workspace file", im.refusal};
  return rebuild_node_memory(im);
}

bool has_extension(const char* name) {
  const char* base = strrchr(name, '/');
  return strchr(base ? base + 1 : name, '.') != nullptr;
}

}  // namespace

WorkspaceOutcome restore_workspace_bytes(const unsigned char* data, size_t size,
                                         const WorkspaceLimits& limits) {
  WorkspaceOutcome out = restore_checked(data, size, limits);
  // Interning may allocate; the description is gone by now.
  if (out.result == WKS_RESTORED) bind_system_symbols();
  return out;
}

WorkspaceOutcome restore_workspace_file(const char* name, const WorkspaceLimits& limits) {
  std::string path = name;
  if (!has_extension(name)) path += ".wks";
  bool not_regular = false;
  FILE* f = open_input_file(path.c_str(), "rb", &not_regular);
  if (!f && not_regular) return {WKS_REFUSED, "reading workspace file", "not a regular file"};
  if (!f) return {WKS_ABSENT, "", "cannot open the image"};
  std::vector<unsigned char> bytes;
  unsigned char buffer[65536];
  size_t n;
  bool too_large = false;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) {
    if (bytes.size() + n > limits.max_file_bytes) {
      too_large = true;
      break;
    }
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  bool failed = ferror(f) != 0;
  fclose(f);
  if (too_large) return {WKS_REFUSED, "reading workspace file", "image file too large"};
  if (failed) return {WKS_REFUSED, "reading workspace file", "image file unreadable"};
  return restore_workspace_bytes(bytes.data(), bytes.size(), limits);
}

}  // namespace velloq
