// The interpreter's state: every variable of the core that lives outside a
// routine, in one place, grouped by the file that owns and defines it.  A
// module header includes this one, so a global is declared nowhere else.
//
// There is one interpreter per process.  After an error, resuming a
// context (context.cc) restores the pointers the context saved and asks
// each module to reset its own flags (the reset_* routines).
#pragma once

#include <cstdint>
#include <cstdio>

namespace velloq {

struct Node;
struct Context;
struct Segment;

// Sizes of the two interpreter stacks: a one-argument recursive function
// reaches well beyond 100,000 levels (about fourteen argument entries and
// ten protection entries a level).
constexpr int PSTACK_SIZE = 1 << 22;
constexpr int ASTACK_SIZE = 1 << 21;
constexpr int STACK_RESERVE = 256;  // room for the error path itself
// Nested data is printed and read this many levels deep; a deeper list is
// "evaluation stack overflow" when printed, "argument stack overflow" when
// read (the depth printing always had at the top level).
constexpr int DATA_NESTING_LIMIT = 2045;

// The MEM figures.
struct MemoryStats {
  long total_nodes;
  long free_nodes;
  int segments;
  long alloc_size;
  long total_bytes;
  int collections;
};

// ---- memory.cc: node memory and the stacks ----
extern MemoryStats mem_stats;         // what MEM prints; alloc_size is the next segment's size
extern bool gc_stress;                // VELLOQ_GC_STRESS=1: collect before every allocation
extern Segment* oldest_segment;       // first of the swept segments (oldest first by `newer`)
extern Segment* newest_segment;       // last of the swept segments, released first
extern Segment* fixnum_segment;       // the permanent small integers -128..255
extern Segment* char_segment;         // the permanent characters 0..255
extern Node* free_list;               // free nodes chained through cdr
extern Node* free_last;               // last node of the free list, or null when unknown
extern Node** pstack[PSTACK_SIZE + STACK_RESERVE];  // addresses of locals that hold nodes
extern int ptop;                      // protection entries in use
extern int plimit;                    // PSTACK_SIZE, or more while an overflow is reported
extern Node* astack[ASTACK_SIZE + STACK_RESERVE];   // argument frames
extern int atop;                      // index of the next free argument entry
extern int afp;                       // index of the current frame's link entry
extern int alimit;                    // ASTACK_SIZE, or more while an overflow is reported
extern char* native_stack_floor;      // protect() raises below this native stack address (native_stack.cc)
extern Node* obarray_symbol;          // *OBARRAY*, root of every interned symbol
extern Node* venv;                    // lexical variable environment
extern Node* fenv;                    // lexical function environment
extern Node* denv;                    // dynamic bindings: a list of (symbol . old value)
extern Node* sym_gc_flag;             // *GC-FLAG*: the collector reports when it is set
extern Node* sym_gc_hook;             // *GC-HOOK*: called after every collection

// ---- eval.cc: the evaluator ----
extern Node** argp;                   // the running built-in's next argument
extern int argc_left;                 // arguments the running built-in has not taken
extern int trace_depth;               // indentation of the trace output
extern Node* fsubr_forms;             // the forms given to the running special form

// ---- printer.cc and reader.cc: nesting of the data at hand ----
extern int print_nesting;             // lists and vectors being printed, outermost first
extern int read_nesting;              // lists being read

// ---- context.cc: non-local exits ----
extern Context* context_chain;        // innermost context, linked outward by `prev`
extern Node* exit_value;              // value carried by the exit in progress (GO: the forms after the tag)
extern Context* pending_target;       // where an exit goes on after an UNWIND-PROTECT clean-up
extern int pending_kind;              // the kind of that exit

// ---- errors.cc: the error path ----
extern bool error_print_enabled;      // whether the innermost handler prints
extern bool fatal_error_seen;         // a fatal error stopped the interpreter

// ---- streams.cc: the console and the transcript ----
extern Node* console_stream;          // the file stream that stands for the terminal
// Declared beside the front end's interface in streams.h:
//   console                the functions the front end supplies
//   console_error_colour   set while the error text is written
//   output_count           every character written to any stream
//   dribble_file           transcript of console traffic, or null
//   console_may_read_more  whether console reading may ask for more lines

// ---- symbols.cc: the system symbols ----
// Found again by name after a workspace is restored (bind_system_symbols).
extern Node *s_t, *s_keyword, *s_owned, *s_readonly, *s_create_time, *s_change_time, *s_dot,
    *s_quote, *s_function, *s_backquote, *s_comma, *s_comma_at, *s_lambda, *s_macro, *s_eql,
    *s_integer_format, *s_float_format, *s_plus1, *s_plus2, *s_plus3, *s_star1, *s_star2,
    *s_star3, *s_minus, *s_setf, *s_car, *s_cdr, *s_nth, *s_aref, *s_get, *s_symbol_value,
    *s_symbol_function, *s_symbol_plist, *s_readtable, *s_white_space, *s_constituent,
    *s_sescape, *s_mescape, *s_tmacro, *s_nmacro, *s_test, *s_test_not, *s_direction, *s_input,
    *s_output, *s_print_case, *s_upcase, *s_downcase, *s_start, *s_end, *s_start1, *s_end1,
    *s_start2, *s_end2, *s_verbose, *s_print, *s_count, *s_key, *s_optional, *s_rest,
    *s_lkey, *s_allow_other_keys, *s_aux, *s_standard_input, *s_standard_output,
    *s_error_output, *s_debug_io, *s_trace_output, *s_evalhook, *s_applyhook, *s_tracelist,
    *s_tracenable, *s_tracelimit, *s_gc_flag, *s_gc_hook, *s_self;
extern Node* kind_symbols[15];        // type symbols by node kind (NIL for kind 8)
extern long obarray_removals;         // counts symbols leaving the object array (caches check it)

// ---- private to their files (static there) ----
// memory.cc    used_bytes, heap_limit, beyond_ceiling: the C heap ceiling
// gc.cc        pending: vector-like nodes still to mark; gc_hook_running
// eval.cc      poll_counter: evaluations until the next break check
// errors.cc    printing_error: an error text is being printed
// printer.cc   printer_in_list: inside a list, owner paths are left out
// reader.cc    token, reading_path, token_ended_by_caret: the token being read
// streams.cc   console_text, console_pos, console_unget: the console input
// builtins.cc  unnamed_nodes, s_builtin_holder: nodes of unnamed table positions
// bi_arith.cc  rnd_state: the RANDOM generator
// bi_symbols.cc  gensym_prefix, gensym_counter: GENSYM names

}  // namespace velloq
