#include "stream_console.h"

#include "cp1251.h"
#include "fd_output.h"
#include "terminal_chars.h"

namespace projbase {
namespace {

// Raw bytes kept of one line before conversion: enough for kMaxLineLength
// characters in any encoding; the rest of a longer line is skipped.
constexpr std::size_t kMaxRawLine = 4 * kMaxLineLength;

}  // namespace

StreamConsole::StreamConsole(int inFd, int outFd)
    : outFd_(outFd), utf8_(terminalIsUtf8()), in_(inFd) {}

void StreamConsole::write(std::string_view text) { writeOut(outFd_, cp1251::toLocale(text)); }

void StreamConsole::newLine() { writeOut(outFd_, "\n"); }

Input StreamConsole::readLine(std::string& line) {
  bytes_.clear();
  for (;;) {
    int b = in_.next();
    if (b < 0) return Input::End;
    if (b == 0x1B) return Input::Abandoned;
    if (b == '\n') break;
    if (bytes_.size() < kMaxRawLine) bytes_ += static_cast<char>(b);
  }
  if (!bytes_.empty() && bytes_.back() == '\r') bytes_.pop_back();
  line = cp1251::fromLocale(bytes_);
  if (line.size() > kMaxLineLength) line.resize(kMaxLineLength);
  return Input::Ok;
}

Input StreamConsole::readKey(int& key) {
  if (!readTerminalChar(in_, utf8_, bytes_)) return Input::End;
  key = toCp1251Char(bytes_);
  return Input::Ok;
}

}  // namespace projbase
