// The input buffer and its parenthesis scan.
#include "input_buffer.h"

namespace velloq_ui {

namespace {

// Skips a run delimited by `close` (a string or a |symbol|), backslash
// escapes included; i is just past the opening delimiter.
size_t skip_delimited(const std::string& text, size_t i, char close) {
  size_t n = text.size();
  while (i < n && text[i] != close) {
    if (text[i] == '\\') i++;
    i++;
  }
  return i + 1;
}

}  // namespace

bool parens_balanced(const std::string& text) {
  int depth = 0;
  size_t i = 0, n = text.size();
  while (i < n) {
    char c = text[i++];
    if (c == ';') {
      while (i < n && text[i] != '\n') i++;
    } else if (c == '"' || c == '|') {
      i = skip_delimited(text, i, c);
    } else if (c == '\\') {
      i++;
    } else if (c == '#' && i < n && text[i] == '\\') {
      i += 2;
    } else if (c == '(') {
      depth++;
    } else if (c == ')') {
      depth--;
    }
  }
  if (i > n) return false;  // an open string or escape
  return depth <= 0;
}

bool InputBuffer::add_line(const std::string& line) {
  text_ += line;
  text_ += '\n';
  return parens_balanced(text_);
}

bool InputBuffer::blank() const {
  return text_.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string InputBuffer::take() {
  std::string text;
  text.swap(text_);
  return text;
}

}  // namespace velloq_ui
