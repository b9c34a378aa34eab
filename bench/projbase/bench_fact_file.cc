// Reading and writing a fact file of 1,000,000 records of Cyrillic text,
// in memory (the codec alone) and through the disk (as start-up and key 0
// do it, with the atomic replacement and its flush).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cp1251.h"
#include "fact_file.h"
#include "fact_store.h"

namespace {

constexpr std::size_t kRecords = 1000000;

std::vector<std::string> win(std::initializer_list<const char*> utf8) {
  std::vector<std::string> out;
  for (const char* s : utf8) out.push_back(cp1251::fromUtf8(s));
  return out;
}

// Names, technologies and codes as a factory's project list has them;
// a few carry quotes, to be escaped.
std::vector<projbase::Knolbase> makeRecords() {
  const auto kinds = win({"Станок фрезерный", "Пресс гидравлический", "Редуктор червячный",
                          "Насос центробежный", "Кран мостовой", "Конвейер ленточный",
                          "Манипулятор \"Гамма\"", "Компрессор поршневой"});
  const auto series = win({"с ЧПУ", "модернизированный", "экспортного исполнения", "для Севера",
                           "опытный образец", "серийный"});
  const auto techs = win({"Литьё под давлением", "Горячая штамповка", "Фрезерование на обрабатывающем центре",
                          "Сварка в среде защитных газов", "Порошковая металлургия",
                          "Токарная обработка", "Сборка узлов на конвейере"});
  const auto prefixes = win({"СТ", "ПР", "РЧ", "НЦ", "КМ", "КЛ", "МГ", "КП"});
  std::vector<projbase::Knolbase> records;
  records.reserve(kRecords);
  std::uint32_t seed = 12345;
  auto pick = [&seed](std::size_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  for (std::size_t i = 0; i < kRecords; ++i) {
    std::size_t k = pick(kinds.size());
    projbase::Knolbase r;
    r.name = kinds[k] + " " + series[pick(series.size())] + " " + std::to_string(pick(900) + 100);
    r.technology = techs[pick(techs.size())];
    r.code = prefixes[k] + "-" + std::to_string(pick(100000)) + "/" + std::to_string(pick(20));
    records.push_back(std::move(r));
  }
  return records;
}

const std::vector<projbase::Knolbase>& records() {
  static const std::vector<projbase::Knolbase> all = makeRecords();
  return all;
}

const std::string& fileBytes() {
  static const std::string bytes = projbase::writeFacts(records());
  return bytes;
}

void BM_WriteFacts(benchmark::State& state) {
  fileBytes();  // makes the records before the clock runs
  for (auto _ : state) {
    std::string bytes = projbase::writeFacts(records());
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes().size()));
  state.counters["records"] = kRecords;
  state.counters["file_bytes"] = static_cast<double>(fileBytes().size());
}

void BM_ReadFacts(benchmark::State& state) {
  fileBytes();
  for (auto _ : state) {
    std::vector<projbase::Knolbase> read;
    if (!projbase::readFacts(fileBytes(), read).ok() || read.size() != kRecords)
      state.SkipWithError("the file did not read back");
    benchmark::DoNotOptimize(read.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes().size()));
}

std::string scratchFile() {
  static const std::string path = [] {
    std::string dir = (std::filesystem::temp_directory_path() / "bench-facts-XXXXXX").string();
    if (!::mkdtemp(dir.data())) std::abort();
    return dir + "/knolbases.ddb";
  }();
  return path;
}

void BM_SaveFactFile(benchmark::State& state) {
  fileBytes();
  for (auto _ : state) {
    std::string error;
    if (!projbase::saveFactFile(scratchFile(), records(), error)) state.SkipWithError(error.c_str());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes().size()));
}

void BM_OpenFactFile(benchmark::State& state) {
  std::string error;
  if (!projbase::saveFactFile(scratchFile(), records(), error)) state.SkipWithError(error.c_str());
  for (auto _ : state) {
    std::vector<projbase::Knolbase> read;
    if (!projbase::openFactFile(scratchFile(), read, error) || read.size() != kRecords)
      state.SkipWithError("the file did not read back");
    benchmark::DoNotOptimize(read.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes().size()));
  std::filesystem::remove_all(std::filesystem::path(scratchFile()).parent_path());
}

BENCHMARK(BM_WriteFacts)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_ReadFacts)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_SaveFactFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_OpenFactFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
