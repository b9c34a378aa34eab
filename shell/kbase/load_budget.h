// The memory a knowledge base file may make the loader take.
//
// A file is small next to what it describes: a sample gets a slot for every
// definition it inherits, a text of line breaks becomes a list of empty
// lines, a short record becomes a frame with its lists and index entries.
// The loader charges every structure it builds to a budget before building
// it, with costs that round the real ones up, so that a file of N bytes
// (held in memory while it loads) takes at most 16 N + 64 MB in all.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "byte_reader.h"
#include "frame.h"
#include "lines.h"
#include "slot_def.h"

namespace norvix::kbfile {

class LoadBudget {
 public:
  // The file's own bytes are the sixteenth part.
  static constexpr size_t kPerFileByte = 15;
  static constexpr size_t kFixed = size_t{64} << 20;

  explicit LoadBudget(size_t fileSize) : left_(kPerFileByte * fileSize + kFixed) {}

  // Takes `cost` bytes from the budget; beyond it the file is taken for one
  // built to exhaust memory, and the load ends as for a damaged file.
  void Charge(size_t cost) {
    if (cost > left_) throw Truncated{};
    left_ -= cost;
  }

  // Whether charges adding up to `cost` would all pass, taken from a
  // budget nothing was charged to yet.
  bool Allows(size_t cost) const { return cost <= left_; }

  // What keeping a text of `size` bytes costs (a short one fits in its
  // string, a long one gets a block of its own).
  static size_t Text(size_t size) { return size + kBlock; }

  // What SplitLines of `text` costs: a string per line, and for a line too
  // long to fit in its string, a block of at most twice its length.
  static size_t Lines(std::string_view text) {
    return CountLines(text) * sizeof(std::string) + 3 * text.size() + kBlock;
  }

  // A frame without its texts: the object, its place in the frame list,
  // its index entry (node and bucket) and its place among its parent's
  // children, lists counted at the double size they may grow to.
  static size_t Frame() { return sizeof(AFrame) + kBlock + 3 * sizeof(void*) + kNode + 2 * 3 * sizeof(void*); }

  // A slot definition without its texts: the object, its list entry (which
  // grows) and its index entry, which holds a copy of the name.
  static size_t SlotDef() { return sizeof(ASlotDef) + kBlock + 3 * sizeof(void*) + kNode + 3 * sizeof(void*); }

  // One more definition in a frame's own list: the entry (which grows), and
  // the node of the set that takes repeats out while the record is read.
  static size_t OwnSlotDef() { return 3 * sizeof(void*) + kNode; }

  // One slot of a sample, without its value: the slot, the inherited
  // definitions gathered to make it and the index the slot records use.
  static size_t Slot() { return sizeof(ASlot) + 2 * 3 * sizeof(void*) + kNode; }

  // Room made in advance for `count` frames: the list and the index buckets.
  static size_t Reserve(size_t count) { return count * 4 * sizeof(void*); }

 private:
  // A heap block's header and rounding, and a hash node with its links.
  static constexpr size_t kBlock = 32;
  static constexpr size_t kNode = 128;

  size_t left_;
};

}  // namespace norvix::kbfile
