// The console on a terminal: keys are read one by one without the
// terminal's own echo, and the line editor shows what is typed.
#pragma once

#include "byte_input.h"
#include "console.h"
#include "line_editor.h"
#include "raw_mode.h"

namespace projbase {

class TtyConsole : public Console {
 public:
  // Reads from the terminal `inFd`, writes to `outFd`.
  TtyConsole(int inFd, int outFd);

  void write(std::string_view text) override;
  void newLine() override;
  Input readLine(std::string& line) override;
  Input readKey(int& key) override;

 private:
  int outFd_;
  RawMode mode_;
  ByteInput in_;
  LineEditor editor_;
};

}  // namespace projbase
