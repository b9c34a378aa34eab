// The engine's window on a terminal: dialog lines to an output stream,
// replies from an input stream (see RunConsoleConsultation).
#pragma once

#include <istream>
#include <ostream>

#include "engine.h"

namespace norvix {

class ConsoleHost : public EngineHost {
 public:
  ConsoleHost(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

  // The engine whose "Почему?" command a "?" reply runs.
  void SetEngine(Engine* engine) { engine_ = engine; }

  void PrintLine(const std::string& text) override;
  Reply Ask(const std::string& line) override;

 private:
  void Write(const std::string& text);  // Windows-1251 to the terminal

  std::istream& in_;
  std::ostream& out_;
  Engine* engine_ = nullptr;
};

// Reads one line of `in` (without its line feed) into `head`, keeping only
// its first `keep` bytes and reading past the rest, so that no line can
// take more memory than that.  Returns false at the end of input when no
// byte was left to read.
bool ReadLineHead(std::istream& in, std::string& head, size_t keep);

// A dialog text as terminal lines: CR LF and a lone CR become LF.
std::string ToLineFeeds(const std::string& text);

}  // namespace norvix
