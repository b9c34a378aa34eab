// The fact-file reader on arbitrary bytes.  Whatever it accepts must write
// back to a file that reads as the same records, and writing again must
// give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fact_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<projbase::Knolbase> records = {{"kept", "", ""}};
  projbase::FactReadResult result = projbase::readFacts(bytes, records);
  if (!result.ok()) {
    // A refused file leaves the list alone and names a line of the file.
    std::size_t lines = 1;
    for (char c : bytes) lines += c == '\n';
    if (records.size() != 1 || result.line < 1 || result.line > lines) std::abort();
    return 0;
  }
  std::string written = projbase::writeFacts(records);
  std::vector<projbase::Knolbase> again;
  if (!projbase::readFacts(written, again).ok() || again != records) std::abort();
  if (projbase::writeFacts(again) != written) std::abort();
  return 0;
}
