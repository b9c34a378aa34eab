// The input history.
#include "session_history.h"

namespace velloq_ui {

SessionHistory::SessionHistory(int max_entries) : entries_{"", ""}, max_entries_(max_entries) {}

void SessionHistory::add(std::string_view line) {
  size_t end = line.find_last_not_of("\r\n \t");
  line = end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
  if (!line.empty() && line != entries_[entries_.size() - 2]) {
    entries_.back() = std::string(line);
    entries_.emplace_back();
    while (entries_.size() > 2 && (int)entries_.size() > max_entries_) entries_.erase(entries_.begin() + 1);
  }
  cursor_ = entries_.size() - 1;
}

std::string SessionHistory::older() {
  if (cursor_ > 0) cursor_--;
  return entries_[cursor_];
}

std::string SessionHistory::newer() {
  if (cursor_ + 1 < entries_.size()) cursor_++;
  return entries_[cursor_];
}

}  // namespace velloq_ui
