// Save, load and consultation of a knowledge base of 100,000 frames.
//   Save / Load            SaveToFile (atomic, flushed to the disk) / LoadFromFile
//   SaveToBytes            building the file's bytes only
//   heap_per_file_byte     heap held by the loaded base per byte of its file
//   consult_ms             the consultation's own time over 99,000 candidates
//                          (the scripted answers' time taken out)
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <unordered_set>

#include "engine.h"
#include "engine_messages.h"
#include "error_sink.h"
#include "peak_heap.h"
#include "large_base.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Data {
  norvix::AKBase kb;
  std::string path;
  size_t fileBytes = 0;
  Data() {
    bench::BuildLargeBase(kb);
    path = (std::filesystem::temp_directory_path() /
            ("bench_kbase_" + std::to_string(::getpid()) + ".dat")).string();
    kb.SaveToFile(path);
    fileBytes = std::filesystem::file_size(path);
  }
  ~Data() { std::filesystem::remove(path); }
};

Data& TheData() {
  static Data data;
  return data;
}

void BM_Save(benchmark::State& state) {
  Data& d = TheData();
  for (auto _ : state) {
    d.kb.Modified = true;
    if (!d.kb.SaveToFile(d.path)) state.SkipWithError("save failed");
  }
  state.counters["file_MB"] = static_cast<double>(d.fileBytes) / 1e6;
}

// The file's bytes alone, without writing them out and flushing them.
void BM_SaveToBytes(benchmark::State& state) {
  Data& d = TheData();
  for (auto _ : state) benchmark::DoNotOptimize(d.kb.SaveToBytes());
}

void BM_Load(benchmark::State& state) {
  Data& d = TheData();
  double heapPerByte = 0;
  for (auto _ : state) {
    state.PauseTiming();
    size_t before = heaptest::BytesInUse();
    auto kb = std::make_unique<norvix::AKBase>();
    state.ResumeTiming();
    if (!kb->LoadFromFile(d.path)) state.SkipWithError("load failed");
    state.PauseTiming();
    heapPerByte = static_cast<double>(heaptest::BytesInUse() - before) /
                  static_cast<double>(d.fileBytes);
    if (kb->Frames().size() != 100000u) state.SkipWithError("wrong frame count");
    kb.reset();
    state.ResumeTiming();
  }
  state.counters["heap_per_file_byte"] = heapPerByte;
}

// Answers yes exactly to the questions about the last sample's values, so
// every other candidate is tried and rejected first.  Times itself, so its
// time can be taken out of the consultation's.
class ScriptedAnswers : public norvix::EngineHost {
 public:
  explicit ScriptedAnswers(const norvix::AFrame& wanted) {
    for (const norvix::ASlot& slot : wanted.Slots) {
      std::vector<std::string> items = slot.Def->IsValueList ? norvix::SplitValueList(slot.Value)
                                                             : std::vector<std::string>{slot.Value};
      for (const std::string& item : items)
        yes_.insert(slot.Def->Name() + " " + item + norvix::msg::kQuestionEnd);
    }
  }
  void PrintLine(const std::string&) override { ++lines; }
  norvix::Reply Ask(const std::string& line) override {
    auto start = Clock::now();
    ++questions;
    norvix::Reply r = yes_.count(line) ? norvix::Reply::Yes : norvix::Reply::No;
    answering += Clock::now() - start;
    return r;
  }
  Clock::duration answering{};
  long questions = 0;
  long lines = 0;

 private:
  std::unordered_set<std::string> yes_;
};

void BM_Consultation(benchmark::State& state) {
  Data& d = TheData();
  const norvix::AFrame& last = *d.kb.Frames().back();
  long questions = 0;
  for (auto _ : state) {
    ScriptedAnswers host(last);
    norvix::Engine engine(host);
    auto start = Clock::now();
    norvix::Outcome outcome = engine.RunConsultation(d.kb);
    auto total = Clock::now() - start;
    if (outcome != norvix::Outcome::Success || engine.ReportLines().front() != last.Name() + ":")
      state.SkipWithError("the last sample was not found");
    state.SetIterationTime(std::chrono::duration<double>(total - host.answering).count());
    questions = host.questions;
  }
  state.counters["questions"] = static_cast<double>(questions);
  state.counters["candidates"] = bench::kSamples;
}

}  // namespace

BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SaveToBytes)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Consultation)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
