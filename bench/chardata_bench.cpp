// Loading a full chardata.txt (10,001 lines per rarity, comments between
// them) against a baseline that only reads the same bytes and finds the line
// ends. Prints both times, their ratio, and the memory of the full roster.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "bench_data.h"
#include "roster/chardata_loader.h"
#include "roster/platform_services.h"

namespace {

namespace fs = std::filesystem;

const fs::path& dataDirectory() {
  static const fs::path directory = [] {
    const fs::path dir = fs::temp_directory_path() / "growth-check-bench";
    fs::create_directories(dir);
    std::ofstream file(dir / "chardata.txt", std::ios::binary);
    writeBenchDataFile(file);
    return dir;
  }();
  return directory;
}

void silenceTrace() { platformServices().writeDebugTrace = [](std::string_view) {}; }

void BM_ReadAndFindLineEnds(benchmark::State& state) {
  const fs::path path = dataDirectory() / "chardata.txt";
  std::string chunk(64 * 1024, '\0');
  for (auto _ : state) {
    std::ifstream file(path, std::ios::binary);
    std::size_t lines = 0;
    while (file) {
      file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      const std::string_view bytes(chunk.data(), static_cast<std::size_t>(file.gcount()));
      for (std::size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1)) {
        ++lines;
      }
    }
    benchmark::DoNotOptimize(lines);
  }
}
// This machine's timings vary from run to run: five repetitions each, and
// the ratio is taken of the medians.
BENCHMARK(BM_ReadAndFindLineEnds)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LoadFullRoster(benchmark::State& state) {
  silenceTrace();
  const std::string directory = dataDirectory().string();
  const SystemPath path = dataDirectory().native();
  const auto roster = std::make_unique<CharacterRoster>();
  for (auto _ : state) {
    state.PauseTiming();
    roster->clear();
    state.ResumeTiming();
    loadCharacterData(*roster, directory, path);
  }
  if (roster->count(0) != kSlotsPerRarity) state.SkipWithError("the roster did not fill");

  // The table itself, plus the names that do not fit in a string's own buffer.
  std::size_t nameHeap = 0;
  for (int r = 0; r < kRarityCount; ++r) {
    for (int i = 0; i < roster->count(r); ++i) {
      const std::string& name = roster->record(r, i)->name;
      if (name.capacity() > std::string().capacity()) nameHeap += name.capacity() + 1;
    }
  }
  const double table = double(sizeof(CharacterRecord)) * kRarityCount * kSlotsPerRarity;
  state.counters["table_MB"] = table / 1e6;
  state.counters["names_heap_MB"] = double(nameHeap) / 1e6;
  state.counters["kept"] = roster->count(0) * kRarityCount;
}
BENCHMARK(BM_LoadFullRoster)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Remembers each benchmark's median real time per iteration, for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") times_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double time(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? 0.0 : it->second;
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double baseline = reporter.time("BM_ReadAndFindLineEnds");
  const double load = reporter.time("BM_LoadFullRoster");
  if (baseline > 0 && load > 0) {
    std::printf("medians: full load %.3f ms, read-and-find-line-ends baseline %.3f ms, ratio %.2f (target <= 2)\n",
                load, baseline, load / baseline);
  }
  benchmark::Shutdown();
  return 0;
}
