// The native (C) stack the interpreter runs on.  Every routine that nests
// with the data or the program it works on (the evaluator, the printer, the
// reader, EQUAL ...) takes a protection entry per level, and the protection
// push checks the native stack as well, so deep nesting ends with
// "evaluation stack overflow" before the native stack is exhausted.
#pragma once

namespace velloq {

// Bytes of native stack the interpreter's thread gets from
// run_on_interpreter_stack: room for the deepest recursion the
// interpreter stacks allow.  The address sanitizer's unoptimised frames
// are several times larger, and get twice the room.
#if defined(__SANITIZE_ADDRESS__)
#define VELLOQ_LARGE_FRAMES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELLOQ_LARGE_FRAMES 1
#endif
#endif
#ifdef VELLOQ_LARGE_FRAMES
constexpr unsigned long INTERPRETER_STACK_BYTES = 1UL << 31;
#else
constexpr unsigned long INTERPRETER_STACK_BYTES = 1UL << 30;
#endif

// Runs fn(arg) on a thread with INTERPRETER_STACK_BYTES of stack and
// returns its result; runs it on the calling thread when no such thread can
// be had.  Start the interpreter and use it only inside fn.
int run_on_interpreter_stack(int (*fn)(void*), void* arg);

// Measures the stack of the calling thread and sets the lowest address
// nesting may reach (a reserve above the real end stays for the error
// path).  Called when node memory is prepared.  Never raises.
void note_native_stack();

// The lowest address nesting may reach; state.h holds the variable.
// Raised by protect() when a frame lies below it: lends the reserve and
// raises "evaluation stack overflow" (aborts when the reserve is used up).
void native_stack_overflow();
// Called when a context is resumed: the reserve is taken back.
void reset_native_stack_limit();

}  // namespace velloq
