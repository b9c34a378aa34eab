#include "io_faults.h"

#include <cerrno>
#include <cstdlib>

namespace fileio::faults {

#ifdef SUITE_IO_FAULTS

namespace {

struct State {
  bool configured = false;
  long failAt = 0;
  long steps = 0;
  bool refuseUnnamed = false;
};

State& state() {
  static State s;
  if (!s.configured) {
    s.configured = true;
    if (const char* n = std::getenv("SUITE_FAIL_IO_AT")) s.failAt = std::strtol(n, nullptr, 10);
  }
  return s;
}

}  // namespace

bool built() { return true; }

void failAt(long n) {
  state().failAt = n;
  state().steps = 0;
}

long steps() { return state().steps; }

void refuseUnnamed(bool refuse) { state().refuseUnnamed = refuse; }

bool unnamedRefused() { return state().refuseUnnamed; }

bool inject() {
  State& s = state();
  if (++s.steps != s.failAt) return false;
  errno = EIO;
  return true;
}

#else

bool built() { return false; }
void failAt(long) {}
long steps() { return 0; }
void refuseUnnamed(bool) {}
bool unnamedRefused() { return false; }
bool inject() { return false; }

#endif

}  // namespace fileio::faults
