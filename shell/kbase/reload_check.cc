// The loader builds a sample's slots from what it inherits, puts a frame's
// plain definitions before its value lists, takes a definition named twice
// once, splits definitions into lines, and the writer puts each root's
// descendants after it, depth first.  A file saves back unchanged when none
// of that changes anything; the costs are those Loader charges, record by
// record, for a file read without errors.
#include "reload_check.h"

#include <cstdint>
#include <limits>

#include "lines.h"
#include "load_budget.h"

namespace norvix::kbfile {

void ReloadCheck::Cost(size_t cost) {
  cost_ = cost > std::numeric_limits<size_t>::max() - cost_ ? std::numeric_limits<size_t>::max()
                                                             : cost_ + cost;
}

void ReloadCheck::Header(const std::array<std::string, 8>& texts) {
  for (const std::string& text : texts) Cost(LoadBudget::Text(text.size()));
}

void ReloadCheck::SlotDef(std::string_view name, std::string_view definition,
                          std::string_view defaultValue, bool valueList, bool decompose,
                          std::string_view decomposeMsg) {
  if (!IsJoinedLines(definition)) same_ = false;
  if (!same_) return;
  Cost(2 * LoadBudget::Text(name.size()) + LoadBudget::SlotDef());
  Cost(LoadBudget::Lines(definition) + LoadBudget::Text(defaultValue.size()));
  if (decompose) Cost(LoadBudget::Text(decomposeMsg.size()));
  valueList_.push_back(valueList);
  slotCost_.push_back(LoadBudget::Slot() + LoadBudget::Text(defaultValue.size()));
}

// The writer lists the frames depth first with children in creation order,
// which is the record order exactly when each frame's parent lies on the
// way from a root to the frame before.
void ReloadCheck::Frame(int parent, std::string_view name, std::string_view definition,
                        const std::vector<int>& own) {
  if (!same_) return;
  size_t index = parent_.size();
  if (parent < 0) {
    path_.clear();
  } else {
    while (!path_.empty() && path_.back() != static_cast<size_t>(parent)) path_.pop_back();
    if (path_.empty()) same_ = false;
  }
  path_.push_back(index);
  if (!IsJoinedLines(definition)) same_ = false;
  bool valueListSeen = false;
  for (size_t i = 0; i < own.size() && same_; ++i) {
    bool valueList = valueList_[static_cast<size_t>(own[i])];
    if (valueListSeen && !valueList) same_ = false;  // moved before the value lists
    valueListSeen = valueListSeen || valueList;
    for (size_t k = 0; k < i; ++k)
      if (own[k] == own[i]) same_ = false;  // taken once
  }
  if (!same_) return;
  Cost(2 * LoadBudget::Text(name.size()) + LoadBudget::Lines(definition) + LoadBudget::Frame());
  Cost(own.size() * LoadBudget::OwnSlotDef());
  parent_.push_back(parent);
  own_.push_back(own);
}

// A sample gets one slot per inherited definition, in InheritedDefs order;
// the records give every slot its note and value only when they name
// exactly those definitions in that order.
void ReloadCheck::Sample(const std::array<std::string, 3>& messages,
                         const std::vector<int>& valueDefs, size_t valuesCost) {
  if (!same_) return;
  if (valueDefs != InheritedDefs(parent_.size() - 1)) {
    same_ = false;
    return;
  }
  Cost(inheritedCost_ + valuesCost);
  for (const std::string& m : messages) Cost(LoadBudget::Text(m.size()));
}

// Own definitions first, then each ancestor's, each once, plain ones before
// value lists.  A frame without definitions of its own inherits what its
// parent does, which serves all the samples of one prototype.
const std::vector<int>& ReloadCheck::InheritedDefs(size_t frame) {
  size_t from = frame;
  if (own_[frame].empty() && parent_[frame] >= 0) from = static_cast<size_t>(parent_[frame]);
  if (from == inheritedOf_) return inherited_;
  inheritedOf_ = from;
  std::vector<int> all;
  for (int f = static_cast<int>(from); f >= 0; f = parent_[static_cast<size_t>(f)])
    all.insert(all.end(), own_[static_cast<size_t>(f)].begin(), own_[static_cast<size_t>(f)].end());
  std::vector<bool> seen(valueList_.size());
  inherited_.clear();
  inheritedCost_ = 0;
  for (bool lists : {false, true})
    for (int def : all) {
      auto d = static_cast<size_t>(def);
      if (seen[d] || valueList_[d] != lists) continue;
      seen[d] = true;
      inherited_.push_back(def);
      inheritedCost_ += slotCost_[d];
    }
  return inherited_;
}

bool ReloadCheck::SavesBack(size_t fileSize) const {
  if (!same_ || fileSize > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()))
    return false;
  size_t reserve = LoadBudget::Reserve(parent_.size());
  return cost_ <= std::numeric_limits<size_t>::max() - reserve &&
         LoadBudget(fileSize).Allows(cost_ + reserve);
}

}  // namespace norvix::kbfile
