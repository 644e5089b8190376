// FileMd5 against the system's md5sum on the same 1 GiB file, both timed in
// wall-clock time (md5sum's work happens in a child process). The file is
// made once in the temporary folder and removed at the end; a first md5sum
// pass puts it in the page cache so both read from memory.
//
// Prints each throughput in MB/s and FileMd5's share of md5sum's.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/native_path.h"
#include "update/file_md5.h"

namespace {

constexpr int64_t kFileBytes = int64_t{1} << 30;
constexpr size_t kChunkBytes = size_t{1} << 20;

std::string g_nativePath;

void MakeTestFile() {
  g_nativePath = (std::filesystem::temp_directory_path() /
                  ("vlmr-bench-md5-" + std::to_string(getpid()) + ".bin"))
                     .string();
  std::vector<char> chunk(kChunkBytes);
  std::mt19937_64 random(42);
  std::ofstream out(g_nativePath, std::ios::binary | std::ios::trunc);
  for (int64_t written = 0; written < kFileBytes; written += kChunkBytes) {
    for (size_t i = 0; i < chunk.size(); i += 8) {
      const uint64_t word = random();
      std::memcpy(chunk.data() + i, &word, sizeof word);
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
  }
}

std::string Md5sum() {
  FILE* pipe = popen(("md5sum '" + g_nativePath + "'").c_str(), "r");
  if (pipe == nullptr) return {};
  char digest[33] = {};
  const size_t n = fread(digest, 1, 32, pipe);
  pclose(pipe);
  return std::string(digest, n);
}

void BM_FileMd5(benchmark::State& state) {
  const std::string launcherPath = vlmr::platform::ToLauncherPath(g_nativePath);
  for (auto _ : state) {
    vlmr::rt::Text digest = vlmr::update::FileMd5(launcherPath.c_str());
    if (digest.view().size() != 32) state.SkipWithError("FileMd5 gave no digest");
    benchmark::DoNotOptimize(digest.get());
  }
  state.SetBytesProcessed(state.iterations() * kFileBytes);
}
BENCHMARK(BM_FileMd5)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Md5sum(benchmark::State& state) {
  for (auto _ : state) {
    if (Md5sum().size() != 32) state.SkipWithError("md5sum gave no digest");
  }
  state.SetBytesProcessed(state.iterations() * kFileBytes);
}
BENCHMARK(BM_Md5sum)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Keeps each benchmark's wall-clock throughput for the closing comparison.
class ThroughputReporter : public benchmark::ConsoleReporter {
 public:
  ThroughputReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
      megabytesPerSecond[run.run_name.function_name] = kFileBytes / seconds / 1e6;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> megabytesPerSecond;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  MakeTestFile();
  const std::string warmDigest = Md5sum();  // page cache warm for both
  ThroughputReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::filesystem::remove(g_nativePath);

  const double ours = reporter.megabytesPerSecond["BM_FileMd5"];
  const double system = reporter.megabytesPerSecond["BM_Md5sum"];
  std::printf("FileMd5: %.1f MB/s\nmd5sum:  %.1f MB/s\n", ours, system);
  if (ours > 0 && system > 0) std::printf("FileMd5 / md5sum: %.1f %%\n", 100.0 * ours / system);
  benchmark::Shutdown();
  return warmDigest.size() == 32 ? 0 : 1;
}
