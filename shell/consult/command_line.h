// The command line of norvix.
#pragma once

#include <string>
#include <vector>

namespace norvix {

struct CommandLine {
  enum class Mode { Windowed, Consult, Help, Version, Wrong };
  Mode mode = Mode::Windowed;
  std::string file;        // empty: none
  bool showSplash = true;
};

// norvix [--no-splash] [FILE] | --consult FILE | --help | -h | --version.
// Anything else (an unknown option, a second file, --consult without a file
// or with other arguments) is Wrong.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace norvix
