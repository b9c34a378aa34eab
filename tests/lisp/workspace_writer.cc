// The test writer of workspace images.
#include "workspace_writer.h"

#include <cstring>

#include "node.h"
#include "symbols.h"

namespace velloq {
Node* node_by_number(long number);
long node_number(Node* n);
}  // namespace velloq

namespace wkstest {

using namespace velloq;

std::string image_number(uint32_t n) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; i++) s[i] = (char)(n >> (8 * i));
  return s;
}

static bool has_slot_data(int kind) {
  return kind == K_SYMBOL || kind == K_ARRAY || kind == K_CLOSURE || kind == K_KIND8 || kind == K_FRAME;
}

std::string write_image(const ImageSpec& spec) {
  std::string out = image_number(spec.obarray);
  uint32_t position = 2;
  for (size_t i = 0; i < spec.nodes.size(); i++) {
    const WNode& n = spec.nodes[i];
    if (n.kind == K_FREE) continue;
    if (number_of(i) != position) {
      out += '\0';
      out += image_number(number_of(i));
    }
    out += (char)n.kind;
    out += image_number(n.a);
    out += image_number(n.b);
    position = number_of(i) + 2;
  }
  out += '\0';
  out += image_number(0);
  for (const WNode& n : spec.nodes) {
    if (has_slot_data(n.kind) && n.kind != K_FRAME)
      for (uint32_t s : n.slots) out += image_number(s);
    if (n.kind == K_STRING) out += n.bytes;
  }
  return out;
}

static uint32_t number_of_node(Node* n) { return n ? number_of((size_t)node_number(n)) : 0; }

static WNode describe(Node* n) {
  WNode w;
  w.kind = n->kind;
  switch (n->kind) {
    case K_SUBR: case K_FSUBR: w.b = (uint32_t)n->num; break;
    case K_CONS: case K_USTREAM:
      w.a = number_of_node(n->u.c.car);
      w.b = number_of_node(n->u.c.cdr);
      break;
    case K_SYMBOL: case K_ARRAY: case K_CLOSURE: case K_FRAME:
      w.a = (uint32_t)n->num;
      for (int i = 0; i < n->num; i++) w.slots.push_back(number_of_node(n->u.slots[i]));
      break;
    case K_STRING:
      w.a = (uint32_t)n->num;
      w.bytes.assign(n->u.str, (size_t)n->num);
      break;
    case K_FLONUM: {
      uint64_t bits;
      memcpy(&bits, &n->u.flo, sizeof bits);
      w.a = (uint32_t)bits;
      w.b = (uint32_t)(bits >> 32);
      break;
    }
    case K_FSTREAM: w.b = (uint32_t)n->num; break;
    default: w.a = (uint32_t)n->num; break;  // FIXNUM, CHARACTER
  }
  return w;
}

ImageSpec describe_node_memory() {
  ImageSpec spec;
  spec.obarray = number_of_node(obarray_symbol);
  for (long i = 0;; i++) {
    Node* n = node_by_number(i);
    if (!n) break;
    spec.nodes.push_back(describe(n));
  }
  return spec;
}

ImageSpec minimal_image(size_t* first_free) {
  const size_t base = 640;  // after the fixnum and character segments
  ImageSpec spec;
  spec.nodes.resize(base + 4);
  WNode& symbol = spec.nodes[base];
  symbol.kind = K_SYMBOL;
  symbol.a = SYMBOL_SLOTS;
  symbol.slots = {number_of(base + 2), 0, 0, number_of(base + 1), 0};
  WNode& name = spec.nodes[base + 1];
  name.kind = K_STRING;
  name.bytes = std::string("*OBARRAY*", 10);
  name.a = (uint32_t)name.bytes.size();
  WNode& table = spec.nodes[base + 2];
  table.kind = K_ARRAY;
  table.a = OBARRAY_SIZE;
  table.slots.assign(OBARRAY_SIZE, 0);
  table.slots[(size_t)hash_name("*OBARRAY*", OBARRAY_SIZE)] = number_of(base + 3);
  WNode& bucket = spec.nodes[base + 3];
  bucket.kind = K_CONS;
  bucket.a = number_of(base);
  spec.obarray = number_of(base);
  if (first_free) *first_free = base + 4;
  return spec;
}

}  // namespace wkstest
