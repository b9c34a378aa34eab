// velloq: the Lisp environment.  Started without --tty it opens the
// windows (when the build has them and a display can be reached); `velloq
// --tty`, and any start without a display, runs the terminal on standard
// input and output.
#include <clocale>
#include <cstdio>
#include <cstring>

#include "native_stack.h"
#include "terminal_session.h"
#include "tty_frontend.h"
#ifdef VELLOQ_WINDOWS
#include "windowed_program.h"
#endif

namespace {

void usage(FILE* out) {
  std::fputs("usage: velloq [--tty] [--no-splash]\n"
             "  --tty        the terminal on standard input and output\n"
             "  --no-splash  open the windows without the splash\n",
             out);
}

struct Start {
  int argc;
  char** argv;
  bool tty;
  bool splash;
};

// Deep recursion needs more native stack than a process's first thread
// has, so the interpreter runs on a thread of its own; the windows, which
// the interpreter calls back into, run there with it.
int run(void* arg) {
  Start& start = *static_cast<Start*>(arg);
#ifdef VELLOQ_WINDOWS
  if (!start.tty) {
    if (displayReachable()) return runWindowed(start.argc, start.argv, start.splash);
    std::fputs("velloq: no display; running the terminal session (velloq --tty)\n", stderr);
  }
#endif
  return velloq_ui::run_tty();
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  Start start{argc, argv, false, true};
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--tty") == 0) {
      start.tty = true;
    } else if (std::strcmp(argv[i], "--no-splash") == 0) {
      start.splash = false;
    } else if (std::strcmp(argv[i], "--help") == 0) {
      usage(stdout);
      return 0;
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("velloq %s\n", velloq_ui::kVelloqVersion);
      return 0;
    } else {
      usage(stderr);
      return 2;
    }
  }
#ifndef VELLOQ_WINDOWS
  start.tty = true;
#endif
  return velloq::run_on_interpreter_stack(run, &start);
}
