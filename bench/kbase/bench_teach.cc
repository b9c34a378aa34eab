// The teacher's commands on the knowledge base of 100,000 frames.
//   Check         the checker over the whole base (norvix --check)
//   Export        the text form of the base (norvix --export)
//   Import        the text form read back into a base (norvix --import,
//                 without writing the file)
//   TextToFileBytes  the text turned into the file's bytes (part of Import)
//   ImportToFile  the text turned into the file, saved atomically (all of
//                 norvix --import but reading the text)
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "checker.h"
#include "error_sink.h"
#include "kbase_text.h"
#include "large_base.h"

namespace {

struct Data {
  norvix::AKBase kb;
  std::string text;
  Data() {
    bench::BuildLargeBase(kb);
    text = norvix::ExportText(kb);
  }
};

Data& TheData() {
  static Data data;
  return data;
}

void BM_Check(benchmark::State& state) {
  Data& d = TheData();
  size_t findings = 0;
  for (auto _ : state) findings = norvix::CheckKnowledgeBase(d.kb).size();
  state.counters["findings"] = static_cast<double>(findings);
}

void BM_Export(benchmark::State& state) {
  Data& d = TheData();
  for (auto _ : state) benchmark::DoNotOptimize(norvix::ExportText(d.kb));
  state.counters["text_MB"] = static_cast<double>(d.text.size()) / 1e6;
}

void BM_Import(benchmark::State& state) {
  Data& d = TheData();
  for (auto _ : state) {
    norvix::AKBase kb;
    std::string error;
    if (!norvix::ImportText(d.text, kb, error)) state.SkipWithError("import failed");
    state.PauseTiming();
    if (kb.Frames().size() != 100000u) state.SkipWithError("wrong frame count");
    state.ResumeTiming();
  }
}

// The text turned into the file's bytes, without loading them.
void BM_TextToFileBytes(benchmark::State& state) {
  Data& d = TheData();
  for (auto _ : state) {
    std::string bytes, error;
    if (!norvix::TextToFileBytes(d.text, bytes, error)) state.SkipWithError("import failed");
  }
}

void BM_ImportToFile(benchmark::State& state) {
  Data& d = TheData();
  std::string path = (std::filesystem::temp_directory_path() /
                      ("bench_teach_" + std::to_string(::getpid()) + ".dat")).string();
  for (auto _ : state) {
    std::string bytes, error;
    if (!norvix::ImportTextToFileBytes(d.text, bytes, error) || !norvix::SaveFileBytes(path, bytes))
      state.SkipWithError("import failed");
  }
  std::filesystem::remove(path);
}

BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TextToFileBytes)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportToFile)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
