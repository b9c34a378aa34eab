// The input history of the terminal: the lines entered, which Up and Down
// walk through.  It starts with two empty entries and the cursor on the
// second; the last entry is always the empty line being typed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "line_editor.h"

namespace velloq_ui {

class SessionHistory : public EditorHistory {
 public:
  // `max_entries` counts the empty entries too (MAX_STORED_INPUT).
  explicit SessionHistory(int max_entries = 100);

  // Stores an entered line: trailing line ends, blanks and tabs are cut,
  // an empty line is not stored, nor one equal to the newest stored line;
  // beyond the maximum the oldest stored line goes.  The cursor moves to
  // the last entry in every case.
  void add(std::string_view line);
  void set_max_entries(int n) { max_entries_ = n; }

  // Up: one entry back (not below the first, which is empty).  Down: one
  // entry forward (the last one is empty).  Each answers the entry now
  // under the cursor.
  std::string older() override;
  std::string newer() override;
  size_t entry_count() const override { return entries_.size(); }
  std::string entry(size_t index) const override { return entries_.at(index); }

  const std::vector<std::string>& entries() const { return entries_; }
  size_t cursor() const { return cursor_; }

 private:
  std::vector<std::string> entries_;
  size_t cursor_ = 1;
  int max_entries_;
};

}  // namespace velloq_ui
