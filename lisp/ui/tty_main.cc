// velloq: the Lisp environment.  Started without --tty it opens the
// windows (when the build has them and a display can be reached); `velloq
// --tty`, and any start without a display, runs the terminal on standard
// input and output.
//
// The windows are a program of their own (velloq-windowed), which this one
// becomes by exec.  The terminal session therefore never loads the window
// system's libraries, which would take several times longer than the
// interpreter's own start.
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "native_stack.h"
#include "terminal_session.h"
#include "tty_frontend.h"

namespace {

void usage(FILE* out) {
  std::fputs("usage: velloq [--tty] [--no-splash]\n"
             "  --tty        the terminal on standard input and output\n"
             "  --no-splash  open the windows without the splash\n",
             out);
}

// Deep recursion needs more native stack than a process's first thread
// has, so the interpreter runs on a thread of its own.
int run_terminal(void*) { return velloq_ui::run_tty(); }

#ifdef VELLOQ_WINDOWED
// Whether a window system can be reached (a display, or a Qt platform
// named in QT_QPA_PLATFORM).
bool display_reachable() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

// The folder this program was started from, with a trailing slash; empty
// when the system cannot say.
std::string own_folder() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  std::string s(path, static_cast<size_t>(n));
  return s.substr(0, s.rfind('/') + 1);
}

// Replaces this process with the windowed program, looked for beside this
// one (a build tree) and then where an installation puts it, both named
// relative to this program's folder and never to the working folder.
// Returns only when neither could be started, saying why: the first error
// other than a missing file, else the installed place that was missing.
std::string exec_windowed(char** argv) {
  std::string folder = own_folder();
  if (folder.empty()) return "the folder of velloq cannot be found";
  char* own_name = argv[0];
  std::string why;
  bool other_error = false;
  for (const char* relative : {VELLOQ_WINDOWED, VELLOQ_WINDOWED_INSTALLED}) {
    std::string path = folder + relative;
    argv[0] = path.data();
    execv(path.c_str(), argv);
    int error = errno;
    if (!other_error) why = path + ": " + std::strerror(error);
    other_error = other_error || error != ENOENT;
  }
  argv[0] = own_name;
  return why;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  bool tty = false;
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--tty") == 0) {
      tty = true;
    } else if (std::strcmp(argv[i], "--no-splash") == 0) {
      // for the windows; the terminal has no splash
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
#ifdef VELLOQ_WINDOWED
  if (!tty) {
    if (display_reachable()) {
      std::string why = exec_windowed(argv);
      std::fprintf(stderr, "velloq: the windows cannot be started (%s); running the terminal session (velloq --tty)\n",
                   why.c_str());
    } else {
      std::fputs("velloq: no display; running the terminal session (velloq --tty)\n", stderr);
    }
  }
#else
  (void)tty;
#endif
  return velloq::run_on_interpreter_stack(run_terminal, nullptr);
}
