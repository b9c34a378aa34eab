// The settings reader fed with arbitrary bytes.  Whatever it reads must be
// written so that reading the written text gives the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velloq_ui::Settings s;
  velloq_ui::parse_settings(std::string_view(reinterpret_cast<const char*>(data), size), s);
  if (s.max_stored_lines < velloq_ui::MIN_STORED_LINES || s.max_stored_lines > velloq_ui::MAX_STORED_LINES)
    abort();
  if (s.max_stored_input < velloq_ui::MIN_STORED_INPUT || s.max_stored_input > velloq_ui::MAX_STORED_INPUT)
    abort();
  std::string written = velloq_ui::format_settings(s);
  velloq_ui::Settings back;
  velloq_ui::parse_settings(written, back);
  if (velloq_ui::format_settings(back) != written) abort();
  return 0;
}
