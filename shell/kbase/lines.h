// Multi-line fields (definitions) as lists of lines, and their one-text form.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace norvix {

using Lines = std::vector<std::string>;

// Every line followed by CR LF: the form a definition has in the file and in
// the report.
std::string JoinLines(const Lines& lines);

// Splits at CR LF, CR or LF.  A terminator at the very end opens no further
// line, so JoinLines and SplitLines give back the same lines.
Lines SplitLines(std::string_view text);

// The number of lines SplitLines gives for `text`.
size_t CountLines(std::string_view text);

// Whether `text` is what JoinLines gives for some lines, so that splitting
// and joining it again gives it back: every break CR LF, and one at the end
// unless the text is empty.
bool IsJoinedLines(std::string_view text);

}  // namespace norvix
