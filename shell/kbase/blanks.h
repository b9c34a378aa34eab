// Blank normalisation of typed names and compared values.
#pragma once

#include <string>
#include <string_view>

namespace norvix {

// Every run of blanks and tabs that is followed by another character becomes
// one blank (a leading run included); a run at the end is dropped.
std::string NormalizeBlanks(std::string_view text);

}  // namespace norvix
