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
#include "teach_commands.h"

#ifdef NORVIX_WINDOWS
#include "windowed_start.h"
#endif

namespace {

constexpr const char* kUsage =
    "\xC8\xF1\xEF\xEE\xEB\xFC\xE7\xEE\xE2\xE0\xED\xE8\xE5:\n"  // Использование:
    // "  norvix [--no-splash] [ФАЙЛ]   окна; ФАЙЛ загружается при запуске"
    "  norvix [--no-splash] [\xD4\xC0\xC9\xCB]   \xEE\xEA\xED\xE0; \xD4\xC0\xC9\xCB "
    "\xE7\xE0\xE3\xF0\xF3\xE6\xE0\xE5\xF2\xF1\xFF \xEF\xF0\xE8 \xE7\xE0\xEF\xF3\xF1\xEA\xE5\n"
    // "  norvix --consult ФАЙЛ         консультация в терминале"
    "  norvix --consult \xD4\xC0\xC9\xCB         \xEA\xEE\xED\xF1\xF3\xEB\xFC\xF2\xE0\xF6\xE8\xFF "
    "\xE2 \xF2\xE5\xF0\xEC\xE8\xED\xE0\xEB\xE5\n"
    // "  norvix --consult ФАЙЛ [--explain] [--answers ОТВЕТЫ] [--log ЖУРНАЛ]"
    "  norvix --consult \xD4\xC0\xC9\xCB [--explain] [--answers \xCE\xD2\xC2\xC5\xD2\xDB] "
    "[--log \xC6\xD3\xD0\xCD\xC0\xCB]\n"
    // "  norvix --check ФАЙЛ | --export ФАЙЛ | --import ТЕКСТ ФАЙЛ"
    "  norvix --check \xD4\xC0\xC9\xCB | --export \xD4\xC0\xC9\xCB | --import "
    "\xD2\xC5\xCA\xD1\xD2 \xD4\xC0\xC9\xCB\n"
    "  norvix --help | --version\n";
constexpr const char* kVersion = "norvix 1.0 (KV7 Quillon v2.0)\n";
// "Ошибка: неверные аргументы"
constexpr const char* kWrongArguments =
    "\xCE\xF8\xE8\xE1\xEA\xE0: \xED\xE5\xE2\xE5\xF0\xED\xFB\xE5 "
    "\xE0\xF0\xE3\xF3\xEC\xE5\xED\xF2\xFB\n";
// "Ошибка: в этой сборке нет окон; используйте --consult ФАЙЛ"
constexpr const char* kNoWindows =
    "\xCE\xF8\xE8\xE1\xEA\xE0: \xE2 \xFD\xF2\xEE\xE9 \xF1\xE1\xEE\xF0\xEA\xE5 \xED\xE5\xF2 "
    "\xEE\xEA\xEE\xED; \xE8\xF1\xEF\xEE\xEB\xFC\xE7\xF3\xE9\xF2\xE5 --consult \xD4\xC0\xC9\xCB\n";

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
  writeTo(std::cerr, kNoWindows);
  return 2;
#endif
}
