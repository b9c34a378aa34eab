// Following the records the text form's reader writes: whether loading them
// and saving the base they give writes the very same bytes back, and what
// loading them charges the loader's budget.  A text in the file's own order
// (as the export writes it) comes through unchanged, so the import can save
// its bytes without building the base; any other text is loaded and saved.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace norvix::kbfile {

class ReloadCheck {
 public:
  // The eight texts of the header, in file order.
  void Header(const std::array<std::string, 8>& texts);

  // A slot definition record; `definition` as the record holds it.
  void SlotDef(std::string_view name, std::string_view definition, std::string_view defaultValue,
               bool valueList, bool decompose, std::string_view decomposeMsg);

  // A frame record: `parent` is the index of an earlier frame record or -1,
  // `own` its own definitions in record order, each the index of the first
  // definition of its name.
  void Frame(int parent, std::string_view name, std::string_view definition,
             const std::vector<int>& own);

  // The rest of the last frame's record when it is a sample: its messages,
  // the definitions of its value records in order (indexes as above) and
  // what keeping their notes and values costs (LoadBudget::Text of each).
  void Sample(const std::array<std::string, 3>& messages, const std::vector<int>& valueDefs,
              size_t valuesCost);

  // After the last record: whether the file of `fileSize` bytes loads
  // within the budget and saves back unchanged.
  bool SavesBack(size_t fileSize) const;

 private:
  void Cost(size_t cost);
  const std::vector<int>& InheritedDefs(size_t frame);

  bool same_ = true;
  size_t cost_ = 0;  // saturates
  std::vector<bool> valueList_;      // per definition
  std::vector<size_t> slotCost_;     // per definition: a sample's slot for it
  std::vector<int> parent_;          // per frame
  std::vector<std::vector<int>> own_;  // per frame
  std::vector<size_t> path_;         // the frames from a root to the last one
  // What a sample of frame inheritedOf_ inherits, and its slots' cost.
  size_t inheritedOf_ = static_cast<size_t>(-1);
  std::vector<int> inherited_;
  size_t inheritedCost_ = 0;
};

}  // namespace norvix::kbfile
