// velloq: the Lisp environment.  `velloq --tty` runs the terminal on
// standard input and output.
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "cp1251.h"
#include "native_stack.h"
#include "tty_frontend.h"

static void usage() {
  std::fputs("usage: velloq --tty\n", stderr);
}

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  bool tty = false;
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--tty") == 0) tty = true;
    else if (std::strcmp(argv[i], "--help") == 0) {
      usage();
      return 0;
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("velloq 1.0");
      return 0;
    } else {
      usage();
      return 2;
    }
  }
  if (!tty) {
    // The windows come with the environment; until then the terminal runs.
    tty = true;
  }
  // Deep recursion needs more native stack than a process's first thread
  // has, so the interpreter runs on a thread of its own.
  return velloq::run_on_interpreter_stack([](void*) { return velloq_ui::run_tty(stdin, stdout); }, nullptr);
}
