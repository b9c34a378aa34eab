// Fuzz target of the text form's reader.  Any input must be read or
// refused with a message; a text that is read must give a base whose own
// text reads back to the same file bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "error_sink.h"
#include "kbase.h"
#include "kbase_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  norvix::ScopedErrorSink quiet([](const std::string&) {});
  std::string_view text(reinterpret_cast<const char*>(data), size);
  norvix::AKBase kb;
  std::string error;
  if (!norvix::ImportText(text, kb, error)) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  std::string bytes = kb.SaveToBytes();
  norvix::AKBase again;
  if (!norvix::ImportText(norvix::ExportText(kb), again, error) || again.SaveToBytes() != bytes)
    __builtin_trap();
  return 0;
}
