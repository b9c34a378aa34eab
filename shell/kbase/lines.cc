#include "lines.h"

namespace norvix {

std::string JoinLines(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

size_t CountLines(std::string_view text) {
  size_t count = 0, start = 0, i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    ++count;
    i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  return start < text.size() ? count + 1 : count;
}

bool IsJoinedLines(std::string_view text) {
  if (text.empty()) return true;
  if (text.size() < 2 || text.substr(text.size() - 2) != "\r\n") return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
}

// The count first: a list grown line by line would hold up to three times
// the room at its peak, which matters for texts of nothing but line breaks.
Lines SplitLines(std::string_view text) {
  Lines lines;
  lines.reserve(CountLines(text));
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace norvix
