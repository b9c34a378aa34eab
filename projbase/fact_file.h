// The fact file: one `knolbase("name","technology","code")` line per record.
//
// Inside the quotes a double quote is written \", a backslash \\, a line
// feed \n and a carriage return \r; every other byte is written as it is.
// Lines end with a line feed; reading accepts CR LF too, and a last line
// without a line break.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "knolbase.h"

namespace projbase {

// Why a fact file could not be read.
enum class FactError {
  None,
  ExpectedWord,   // the line does not begin with knolbase(
  ExpectedQuote,  // a field does not begin with a double quote
  ExpectedComma,  // no comma between two fields
  ExpectedClose,  // no closing parenthesis after the third field
  BadEscape,      // a backslash followed by something other than " \ n r
  Unterminated,   // the line (or the file) ends inside a quoted field
  TrailingText,   // something other than the line break after the record
};

// Outcome of reading: the error and the 1-based line it was found on.
struct FactReadResult {
  FactError error = FactError::None;
  std::size_t line = 0;

  bool ok() const { return error == FactError::None; }
};

// Appends the records of `bytes` to `records` in file order.  On an error
// `records` is left as it was and the result names the faulty line.
FactReadResult readFacts(std::string_view bytes, std::vector<Knolbase>& records);

// Appends the line of one record, line feed included, to `out`.
void appendFact(std::string& out, const Knolbase& record);

// Returns the whole file for `records` in list order.
std::string writeFacts(const std::vector<Knolbase>& records);

}  // namespace projbase
