// The input buffer of the terminal: the lines typed for the current
// expression, held until their parentheses balance.
#pragma once

#include <string>

namespace velloq_ui {

// Whether the text's parentheses balance outside strings, comments,
// escapes and character literals (more closing than opening counts too).
bool parens_balanced(const std::string& text);

class InputBuffer {
 public:
  // Appends one typed line (without its line end); true when the buffer
  // now holds a complete expression and should run.
  bool add_line(const std::string& line);
  // Whether the buffer holds nothing but blanks and line ends.
  bool blank() const;
  // The buffer's text; the buffer is empty afterwards.
  std::string take();
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace velloq_ui
