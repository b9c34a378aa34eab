// The native stack: its measure, its bound and the interpreter's thread.
#include "native_stack.h"

#include <pthread.h>

#include <cstdint>
#include <cstdlib>

#include "errors.h"
#include "node.h"

namespace velloq {

char* native_stack_floor = nullptr;

// Room kept below the bound: what the error path, a *GC-HOOK* call and the
// printing of the error text need, with sanitizer frames several times the
// ordinary size.
static const uintptr_t NATIVE_RESERVE = (uintptr_t)1 << 20;
static char* normal_floor = nullptr;
static char* reserve_floor = nullptr;

void note_native_stack() {
  pthread_attr_t attr;
  void* addr = nullptr;
  size_t size = 0;
  if (pthread_getattr_np(pthread_self(), &attr) == 0) {
    pthread_attr_getstack(&attr, &addr, &size);
    pthread_attr_destroy(&attr);
  }
  if (!addr || size < 4 * NATIVE_RESERVE) {
    // Unknown or tiny: no bound beyond the interpreter stacks' own.
    normal_floor = reserve_floor = native_stack_floor = nullptr;
    return;
  }
  char* low = static_cast<char*>(addr);
  reserve_floor = low + NATIVE_RESERVE;
  normal_floor = low + 2 * NATIVE_RESERVE;
  native_stack_floor = normal_floor;
}

void native_stack_overflow() {
  if (native_stack_floor != normal_floor) abort();
  native_stack_floor = reserve_floor;
  report_error("evaluation stack overflow");
}

void reset_native_stack_limit() { native_stack_floor = normal_floor; }

namespace {
struct ThreadCall {
  int (*fn)(void*);
  void* arg;
  int result;
};

void* thread_main(void* p) {
  ThreadCall* call = static_cast<ThreadCall*>(p);
  call->result = call->fn(call->arg);
  return nullptr;
}
}  // namespace

int run_on_interpreter_stack(int (*fn)(void*), void* arg) {
  ThreadCall call = {fn, arg, 0};
  pthread_attr_t attr;
  pthread_t thread;
  bool started = pthread_attr_init(&attr) == 0 &&
                 pthread_attr_setstacksize(&attr, INTERPRETER_STACK_BYTES) == 0 &&
                 pthread_create(&thread, &attr, thread_main, &call) == 0;
  pthread_attr_destroy(&attr);
  if (!started) return fn(arg);
  pthread_join(thread, nullptr);
  return call.result;
}

}  // namespace velloq

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer clears the poison of the abandoned stack before
// every call that does not return (an error, an exit), but gives up, with a
// warning and later reports of errors that are none, when the stack in use
// is deeper than 64 MiB, as it is in deep recursion on the interpreter's
// thread.  This definition takes the place of the runtime's and clears such
// a stack itself.
#include <dlfcn.h>
#include <sanitizer/asan_interface.h>

// C linkage comes from the declaration in asan_interface.h.
void __asan_handle_no_return() {
  static thread_local char* top = nullptr;
  char here;
  if (!top) {
    pthread_attr_t attr;
    void* addr = nullptr;
    size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
      pthread_attr_getstack(&attr, &addr, &size);
      pthread_attr_destroy(&attr);
    }
    top = static_cast<char*>(addr) + size;
  }
  char* low = reinterpret_cast<char*>(((uintptr_t)&here - 4096) & ~(uintptr_t)4095);
  if (top > low && top - low > ((ptrdiff_t)32 << 20)) {
    __asan_unpoison_memory_region(low, (size_t)(top - low));
    return;
  }
  typedef void (*Handler)();
  static Handler runtime = reinterpret_cast<Handler>(dlsym(RTLD_NEXT, "__asan_handle_no_return"));
  if (runtime) runtime();
}
#endif
