// velloq: the Lisp environment.  `velloq --tty` runs the terminal on
// standard input and output.
#include <clocale>
#include <cstdio>
#include <cstring>

#include "native_stack.h"
#include "terminal_session.h"
#include "tty_frontend.h"

static void usage() {
  std::fputs("usage: velloq --tty\n", stderr);
}

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--tty") == 0) continue;
    if (std::strcmp(argv[i], "--help") == 0) {
      usage();
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("velloq %s\n", velloq_ui::kVelloqVersion);
      return 0;
    }
    usage();
    return 2;
  }
  // The windows come with the environment; until then the terminal runs.
  // Deep recursion needs more native stack than a process's first thread
  // has, so the interpreter runs on a thread of its own.
  return velloq::run_on_interpreter_stack([](void*) { return velloq_ui::run_tty(); }, nullptr);
}
