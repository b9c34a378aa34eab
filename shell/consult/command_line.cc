#include "command_line.h"

namespace norvix {

namespace {

CommandLine Make(CommandLine::Mode mode, const std::string& file = {}) {
  CommandLine cl;
  cl.mode = mode;
  cl.file = file;
  return cl;
}

// --consult FILE and its options, in any order.
CommandLine ParseConsult(const std::vector<std::string>& args) {
  CommandLine cl = Make(CommandLine::Mode::Consult);
  CommandLine wrong = Make(CommandLine::Mode::Wrong);
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool hasValue = i + 1 < args.size() && !args[i + 1].empty();
    if (arg == "--explain" && !cl.explain) {
      cl.explain = true;
    } else if (arg == "--answers" || arg == "--log") {
      std::string& target = arg == "--answers" ? cl.answers : cl.log;
      if (!hasValue || !target.empty()) return wrong;
      target = args[++i];
    } else if (arg.empty() || arg[0] == '-' || !cl.file.empty()) {
      return wrong;
    } else {
      cl.file = arg;
    }
  }
  return cl.file.empty() ? wrong : cl;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  CommandLine wrong;
  wrong.mode = CommandLine::Mode::Wrong;
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
    return Make(CommandLine::Mode::Help);
  if (args.size() == 1 && args[0] == "--version")
    return Make(CommandLine::Mode::Version);
  if (!args.empty() && args[0] == "--consult") return ParseConsult(args);
  if (args.size() == 2 && args[0] == "--check" && !args[1].empty())
    return Make(CommandLine::Mode::Check, args[1]);
  if (args.size() == 2 && args[0] == "--export" && !args[1].empty())
    return Make(CommandLine::Mode::Export, args[1]);
  if (args.size() == 3 && args[0] == "--import" && !args[1].empty() && !args[2].empty()) {
    CommandLine import = Make(CommandLine::Mode::Import, args[1]);
    import.output = args[2];
    return import;
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
