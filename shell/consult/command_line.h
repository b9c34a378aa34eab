// The command line of norvix.
#pragma once

#include <string>
#include <vector>

namespace norvix {

struct CommandLine {
  enum class Mode { Windowed, Consult, Help, Version, Wrong, Check, Export, Import };
  Mode mode = Mode::Windowed;
  std::string file;        // empty: none
  bool showSplash = true;
  // Consult: print the explanation; take the replies from a file; write the
  // dialogue to a file (empty: not given).
  bool explain = false;
  std::string answers;
  std::string log;
  std::string output;      // Import: the knowledge base file written
};

// norvix [--no-splash] [FILE] | --consult FILE [--explain] [--answers ANSWERS]
// [--log LOG] (options in any order after --consult) | --check FILE |
// --export FILE | --import TEXT OUT | --help | -h | --version.
// Anything else (an unknown option, a second file, an option given twice,
// --consult without a file) is Wrong.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace norvix
