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

// A dialog text as terminal lines: CR LF and a lone CR become LF.
std::string ToLineFeeds(const std::string& text);

}  // namespace norvix
