// projbase: keeps records about projects (name, manufacturing technology,
// project code) in the fact file "knolbases.ddb" of the current folder and
// offers a numbered menu to look up, add, change and delete them.
//
// Exit status: 0 after key 0 has saved and when standard input ends (then
// nothing is saved); 1 when input ends after a save that failed and was
// not done since; 2 when the fact file cannot be read as records.

#include <unistd.h>

#include <clocale>
#include <memory>

#include "cp1251.h"
#include "fact_store.h"
#include "fd_output.h"
#include "menu.h"
#include "messages.h"
#include "stream_console.h"
#include "tty_console.h"

int main() {
  std::setlocale(LC_CTYPE, "");
  projbase::FactSet facts;
  std::string message;
  if (!projbase::openFactFile(projbase::msg::kFactFile, facts, message)) {
    projbase::writeOut(STDERR_FILENO, cp1251::toLocale(message) + "\n");
    return 2;
  }
  std::unique_ptr<projbase::Console> console;
  if (::isatty(STDIN_FILENO))
    console = std::make_unique<projbase::TtyConsole>(STDIN_FILENO, STDOUT_FILENO);
  else
    console = std::make_unique<projbase::StreamConsole>(STDIN_FILENO, STDOUT_FILENO);
  projbase::SessionEnd end =
      projbase::ShowMenu(*console, facts, [](const projbase::FactSet& f, std::string& error) {
        return projbase::saveFactFile(projbase::msg::kFactFile, f, error);
      });
  return end == projbase::SessionEnd::Unsaved ? 1 : 0;
}
