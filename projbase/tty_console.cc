#include "tty_console.h"

#include "cp1251.h"
#include "fd_output.h"
#include "terminal_chars.h"

namespace projbase {

TtyConsole::TtyConsole(int inFd, int outFd)
    : outFd_(outFd),
      mode_(inFd),
      in_(inFd),
      editor_(in_, terminalIsUtf8(), [outFd](std::string_view shown) { writeOut(outFd, shown); }) {}

void TtyConsole::write(std::string_view text) { writeOut(outFd_, cp1251::toLocale(text)); }

void TtyConsole::newLine() { writeOut(outFd_, "\n"); }

Input TtyConsole::readLine(std::string& line) { return editor_.readLine(line); }

Input TtyConsole::readKey(int& key) { return editor_.readKey(key); }

}  // namespace projbase
