// The console on a plain stream (standard input not a terminal), so that a
// dialogue can be scripted: a key is the next character, a line ends at a
// line feed, and the byte 27 (Esc) abandons the line being read.  Nothing
// is echoed.
#pragma once

#include "byte_input.h"
#include "console.h"

namespace projbase {

class StreamConsole : public Console {
 public:
  StreamConsole(int inFd, int outFd);

  void write(std::string_view text) override;
  void newLine() override;
  // A carriage return right before the line feed is dropped, so scripts
  // with CR LF line ends read the same.  Input that ends inside a line is
  // the end of input: the cut-off line is not used.
  Input readLine(std::string& line) override;
  Input readKey(int& key) override;

 private:
  int outFd_;
  bool utf8_;
  ByteInput in_;
  std::string bytes_;
};

}  // namespace projbase
