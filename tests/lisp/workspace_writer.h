// A writer of workspace images, for tests only: the system itself never
// writes one.  An image is described node by node (index i has the node
// number 2 * (i + 1)), so tests can build images by hand, take one from the
// running interpreter's node memory, and damage either on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wkstest {

// One node of an image.  Kind 0 is a free node, which gets no record.  For
// CONS and UNNAMED-STREAM `a` and `b` are node numbers; for the others the
// raw payload words.  `slots` follow a SYMBOL, ARRAY, CLOSURE, kind 8 or
// FRAME node (as many as `a` says, for the reader), `bytes` a STRING.
struct WNode {
  int kind = 0;
  uint32_t a = 0;
  uint32_t b = 0;
  std::vector<uint32_t> slots;
  std::string bytes;
};

struct ImageSpec {
  uint32_t obarray = 0;  // node number of the *OBARRAY* symbol
  std::vector<WNode> nodes;
};

inline uint32_t number_of(size_t index) { return (uint32_t)(2 * (index + 1)); }

// The bytes of an image file: header, records (a free run is skipped with a
// kind 0 record naming the next position; a kind 0 record with 0 ends the
// records), then slot numbers and string bytes in node order.
std::string write_image(const ImageSpec& spec);
// A 32-bit number as the image holds it, least significant byte first.
std::string image_number(uint32_t n);

// Describes the interpreter's current node memory, the permanent segments
// included.
ImageSpec describe_node_memory();

// A minimal image: the permanent segments skipped, then the *OBARRAY*
// symbol, its name and its table with one bucket holding it.  Further nodes
// may be appended; `first_free` is the index of the first node after it.
ImageSpec minimal_image(size_t* first_free = nullptr);

}  // namespace wkstest
