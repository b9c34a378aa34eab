#include "command_line.h"

namespace norvix {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  CommandLine wrong;
  wrong.mode = CommandLine::Mode::Wrong;
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
    return CommandLine{CommandLine::Mode::Help, {}, true};
  if (args.size() == 1 && args[0] == "--version")
    return CommandLine{CommandLine::Mode::Version, {}, true};
  if (!args.empty() && args[0] == "--consult") {
    if (args.size() != 2) return wrong;
    return CommandLine{CommandLine::Mode::Consult, args[1], true};
  }
  bool filesOnly = false;  // after "--" every argument is a file name
  for (const std::string& arg : args) {
    if (!filesOnly && arg == "--") {
      filesOnly = true;
    } else if (!filesOnly && arg == "--no-splash") {
      cl.showSplash = false;
    } else if ((!filesOnly && arg.size() > 1 && arg[0] == '-') || !cl.file.empty() || arg.empty()) {
      return wrong;
    } else {
      cl.file = arg;
    }
  }
  return cl;
}

}  // namespace norvix
