// norvix: the frame-based expert-system shell.  Without --consult it starts
// the windows (when this build has them); with --consult it runs one
// consultation in the terminal.
#include <clocale>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "consult_command.h"
#include "cp1251.h"
#include "kbase_messages.h"
#include "teach_commands.h"

#ifdef NORVIX_WINDOWS
#include "windowed_program.h"
#endif

namespace {

using namespace cp1251::literals;

constexpr const char* kUsage =
    "Использование:\n"
    "  norvix [--no-splash] [ФАЙЛ]   окна; ФАЙЛ загружается при запуске\n"
    "  norvix --consult ФАЙЛ         консультация в терминале\n"
    "  norvix --consult ФАЙЛ [--explain] [--answers ОТВЕТЫ] [--log ЖУРНАЛ]\n"
    "  norvix --check ФАЙЛ | --export ФАЙЛ | --import ТЕКСТ ФАЙЛ\n"
    "  norvix --help | --version\n"_cp1251.c_str();
constexpr const char* kVersion = "norvix 1.0 (KV7 Quillon v2.0)\n";
// Each follows the error prefix.
constexpr const char* kWrongArguments = "неверные аргументы\n"_cp1251.c_str();
constexpr const char* kNoWindows =
    "в этой сборке нет окон; используйте --consult ФАЙЛ\n"_cp1251.c_str();

void writeTo(std::ostream& out, const char* text) { out << cp1251::toLocale(text) << std::flush; }

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  std::vector<std::string> args(argv + 1, argv + argc);
  norvix::CommandLine cl = norvix::ParseCommandLine(args);
  switch (cl.mode) {
    case norvix::CommandLine::Mode::Help:
      writeTo(std::cout, kUsage);
      return 0;
    case norvix::CommandLine::Mode::Version:
      writeTo(std::cout, kVersion);
      return 0;
    case norvix::CommandLine::Mode::Wrong:
      writeTo(std::cerr, norvix::msg::kErrorPrefix);
      writeTo(std::cerr, kWrongArguments);
      writeTo(std::cerr, kUsage);
      return 2;
    case norvix::CommandLine::Mode::Consult:
      return norvix::RunConsultCommand(cl, std::cin, std::cout, std::cerr);
    case norvix::CommandLine::Mode::Check:
      return norvix::RunCheckCommand(cl.file, std::cout, std::cerr);
    case norvix::CommandLine::Mode::Export:
      return norvix::RunExportCommand(cl.file, std::cout, std::cerr);
    case norvix::CommandLine::Mode::Import:
      return norvix::RunImportCommand(cl.file, cl.output, std::cerr);
    case norvix::CommandLine::Mode::Windowed:
      break;
  }
#ifdef NORVIX_WINDOWS
  return runWindowed(argc, argv, cl.file, cl.showSplash);
#else
  writeTo(std::cerr, norvix::msg::kErrorPrefix);
  writeTo(std::cerr, kNoWindows);
  return 2;
#endif
}
