// Fuzz target of the text form's reader.  Any input must be read or
// refused with a message; a text that is read must give a base whose own
// text reads back to the same file bytes.  The file bytes the import saves
// must be the loaded base's, or the same refusal.
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
  std::string error, fileBytes, fileError;
  bool imported = norvix::ImportText(text, kb, error);
  if (norvix::ImportTextToFileBytes(text, fileBytes, fileError) != imported) __builtin_trap();
  if (!imported) {
    if (error.empty() || fileError != error) __builtin_trap();
    return 0;
  }
  std::string bytes = kb.SaveToBytes();
  if (fileBytes != bytes) __builtin_trap();
  norvix::AKBase again;
  if (!norvix::ImportText(norvix::ExportText(kb), again, error) || again.SaveToBytes() != bytes)
    __builtin_trap();
  return 0;
}
