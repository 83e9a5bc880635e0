// Loading a full chardata.txt (10,001 lines per rarity, comments between
// them), saved as CP932, UTF-8 and UTF-16LE, against two references on the
// same CP932 file: a floor that only reads the bytes and finds the line ends,
// and a straightforward reading with the C library (fgets, then sscanf with
// "%s %d %d %d %d"). Prints the medians, their ratios, and the memory of the
// full roster.

#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "bench_data.h"
#include "native/iconv_cp932.h"
#include "roster/chardata_loader.h"
#include "roster/platform_services.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunkBytes = 64 * 1024;

// The CP932 bench file converted to another encoding, whole.
std::string converted(const std::string& cp932, const char* to) {
  iconv_t handle = iconv_open(to, "CP932");
  std::string out(cp932.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(cp932.data());
  std::size_t inLeft = cp932.size();
  char* at = out.data();
  std::size_t outLeft = out.size();
  iconv(handle, &in, &inLeft, &at, &outLeft);
  iconv_close(handle);
  out.resize(out.size() - outLeft);
  return out;
}

// A folder holding chardata.txt in one encoding.
const fs::path& dataDirectory(const std::string& encoding) {
  static std::map<std::string, fs::path> directories;
  auto [it, added] = directories.try_emplace(encoding);
  if (added) {
    std::ostringstream text;
    writeBenchDataFile(text);
    std::string bytes = text.str();
    if (encoding == "UTF-8") bytes = converted(bytes, "UTF-8");
    if (encoding == "UTF-16LE") bytes = "\xFF\xFE" + converted(bytes, "UTF-16LE");
    it->second = fs::temp_directory_path() / ("growth-check-bench-" + encoding);
    fs::create_directories(it->second);
    std::ofstream(it->second / "chardata.txt", std::ios::binary) << bytes;
  }
  return it->second;
}

std::string dataFile() { return (dataDirectory("CP932") / "chardata.txt").string(); }

void quietServices() {
  platformServices().writeDebugTrace = [](std::string_view) {};
  installIconvCharacterConversion();
}

// The floor: the file read as the loader reads it, and its line ends found.
void BM_ReadAndFindLineEnds(benchmark::State& state) {
  const std::string path = dataFile();
  const auto chunk = std::make_unique<char[]>(kChunkBytes);
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::setvbuf(file, nullptr, _IONBF, 0);
    std::size_t lines = 0;
    for (std::size_t read; (read = std::fread(chunk.get(), 1, kChunkBytes, file)) > 0;) {
      const std::string_view bytes(chunk.get(), read);
      for (std::size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1)) {
        ++lines;
      }
    }
    std::fclose(file);
    benchmark::DoNotOptimize(lines);
  }
}
// This machine's timings vary from run to run: nine repetitions each, and
// the ratios are taken of the medians.
BENCHMARK(BM_ReadAndFindLineEnds)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The same rules read the plain C way, into the same kind of roster.
void BM_ReadWithStdio(benchmark::State& state) {
  const std::string path = dataFile();
  const auto roster = std::make_unique<CharacterRoster>();
  for (auto _ : state) {
    state.PauseTiming();
    roster->clear();
    state.ResumeTiming();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    char line[1024];
    while (std::fgets(line, sizeof line, file)) {
      if (line[0] == '#' || std::strlen(line) < 5) continue;
      const int rarity = rarityOfPrefix(std::string_view(line, 4));
      char name[99] = {};
      BaseStats stats;
      std::sscanf(line + 5, "%98s %d %d %d %d", name, &stats.hp, &stats.attack, &stats.defence, &stats.speed);
      roster->add(rarity, name, stats);
    }
    std::fclose(file);
  }
  if (roster->count(0) != kSlotsPerRarity) state.SkipWithError("the roster did not fill");
}
BENCHMARK(BM_ReadWithStdio)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void loadFullRoster(benchmark::State& state, const std::string& encoding) {
  quietServices();
  const fs::path& directory = dataDirectory(encoding);
  const auto roster = std::make_unique<CharacterRoster>();
  for (auto _ : state) {
    state.PauseTiming();
    roster->clear();
    state.ResumeTiming();
    loadCharacterData(*roster, directory.string(), directory.native());
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

void BM_LoadFullRoster(benchmark::State& state) { loadFullRoster(state, "CP932"); }
void BM_LoadFullRosterUtf8(benchmark::State& state) { loadFullRoster(state, "UTF-8"); }
void BM_LoadFullRosterUtf16(benchmark::State& state) { loadFullRoster(state, "UTF-16LE"); }
BENCHMARK(BM_LoadFullRoster)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadFullRosterUtf8)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadFullRosterUtf16)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// Remembers each benchmark's median real time per iteration, for the ratios.
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
  const double floor = reporter.time("BM_ReadAndFindLineEnds");
  const double stdio = reporter.time("BM_ReadWithStdio");
  const double cp932 = reporter.time("BM_LoadFullRoster");
  const double utf8 = reporter.time("BM_LoadFullRosterUtf8");
  const double utf16 = reporter.time("BM_LoadFullRosterUtf16");
  if (floor > 0 && cp932 > 0) {
    std::printf("medians: CP932 load %.3f ms, read-and-find-line-ends floor %.3f ms: %.2fx the floor (target <= 4)\n",
                cp932, floor, cp932 / floor);
  }
  if (stdio > 0 && cp932 > 0) {
    std::printf("medians: fgets and sscanf %.3f ms: the loader is %.1fx faster than stdio (goal >= 10)\n", stdio,
                stdio / cp932);
  }
  if (utf8 > 0 && cp932 > 0) {
    std::printf("medians: UTF-8 load %.3f ms, %.2fx the CP932 load (target <= 2)\n", utf8, utf8 / cp932);
  }
  if (utf16 > 0 && cp932 > 0) {
    std::printf("medians: UTF-16LE load %.3f ms, %.2fx the CP932 load\n", utf16, utf16 / cp932);
  }
  benchmark::Shutdown();
  return 0;
}
