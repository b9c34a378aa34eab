// The menu driven by arbitrary console input, read the way a script's pipe
// is read (first byte even) or the way a terminal's keys are (odd), with
// the conversion from the terminal's encoding.  Saves alternate between
// success and failure; each must get records that the fact file keeps as
// they are.
#include <sys/mman.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "console.h"
#include "fact_file.h"
#include "line_editor.h"
#include "menu.h"
#include "stream_console.h"

namespace {

// The terminal's console without switching a terminal's mode.
class KeyConsole : public projbase::Console {
 public:
  KeyConsole(int inFd, bool utf8) : in_(inFd), editor_(in_, utf8, [](std::string_view) {}) {}
  void write(std::string_view) override {}
  void newLine() override {}
  projbase::Input readLine(std::string& line) override {
    projbase::Input in = editor_.readLine(line);
    if (line.size() > projbase::kMaxLineLength) std::abort();
    return in;
  }
  projbase::Input readKey(int& key) override { return editor_.readKey(key); }

 private:
  projbase::ByteInput in_;
  projbase::LineEditor editor_;
};

// What a save receives must read back from its file as the same records.
bool checkedSave(const projbase::FactSet& facts, std::string& error, int& calls) {
  std::string written = projbase::writeFacts(facts);
  projbase::FactSet again;
  if (!projbase::readFacts(written, again).ok() || again != facts) std::abort();
  if (++calls % 2) {
    error = "EIO";
    return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  int in = ::memfd_create("input", MFD_CLOEXEC);
  if (in < 0) std::abort();
  if (size > 1 && ::write(in, data + 1, size - 1) != static_cast<ssize_t>(size - 1)) std::abort();
  ::lseek(in, 0, SEEK_SET);
  std::unique_ptr<projbase::Console> console;
  if (data[0] % 2 == 0)
    console = std::make_unique<projbase::StreamConsole>(in, devNull);
  else
    console = std::make_unique<KeyConsole>(in, data[0] & 2);
  projbase::FactSet facts = {{"a", "b", "c"}};
  int calls = 0;
  projbase::SessionEnd end = projbase::ShowMenu(*console, facts, [&](const projbase::FactSet& f, std::string& e) {
    return checkedSave(f, e, calls);
  });
  // Only a save that worked ends with the records saved.
  if ((end == projbase::SessionEnd::Saved) != (calls > 0 && calls % 2 == 0)) std::abort();
  ::close(in);
  return 0;
}
