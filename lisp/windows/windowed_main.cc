// velloq-windowed: the windows of the Lisp environment, started by velloq
// (which checked the arguments) when a display can be reached.
#include <clocale>
#include <cstring>

#include "native_stack.h"
#include "windowed_program.h"

namespace {

struct Start {
  int argc;
  char** argv;
  bool splash;
};

// Deep recursion needs more native stack than a process's first thread
// has, so the interpreter runs on a thread of its own; the windows, which
// the interpreter calls back into, run there with it.
int run(void* arg) {
  Start& start = *static_cast<Start*>(arg);
  return runWindowed(start.argc, start.argv, start.splash);
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  Start start{argc, argv, true};
  for (int i = 1; i < argc; i++)
    if (std::strcmp(argv[i], "--no-splash") == 0) start.splash = false;
  return velloq::run_on_interpreter_stack(run, &start);
}
