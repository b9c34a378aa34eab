// Micro-benchmarks of the interpreter core: allocation, collection and
// evaluation of a small call.
#include <benchmark/benchmark.h>

#include "eval.h"
#include "node.h"
#include "reader.h"
#include "streams.h"
#include "symbols.h"
#include "toplevel.h"

using namespace velloq;

namespace {

struct Interpreter {
  Interpreter() { start_interpreter(); }
  ~Interpreter() { stop_interpreter(); }
};

void BM_MakeCons(benchmark::State& state) {
  Interpreter lisp;
  for (auto _ : state) benchmark::DoNotOptimize(make_cons(nullptr, nullptr));
}
BENCHMARK(BM_MakeCons);

// One full collection with a live list of state.range(0) conses.
void BM_CollectLiveList(benchmark::State& state) {
  Interpreter lisp;
  Node* l = nullptr;
  PROTECT(l);
  for (int64_t i = 0; i < state.range(0); i++) l = make_cons(make_fixnum((int32_t)(i & 127)), l);
  for (auto _ : state) collect_garbage();
  UNPROTECT(1);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CollectLiveList)->Arg(10000)->Arg(100000);

void BM_EvalCall(benchmark::State& state) {
  Interpreter lisp;
  Node* s = make_unnamed_stream();
  PROTECT(s);
  const char* text = "(defun add3 (a b c) (+ a b c)) (add3 1 2 3)";
  for (const char* p = text; *p; p++) stream_put_char(s, (unsigned char)*p);
  Node* def = nullptr;
  Node* call = nullptr;
  PROTECT(def);
  PROTECT(call);
  read_value(s, &def);
  read_value(s, &call);
  eval_expr(def);
  for (auto _ : state) benchmark::DoNotOptimize(eval_expr(call));
  UNPROTECT(3);
}
BENCHMARK(BM_EvalCall);

}  // namespace
