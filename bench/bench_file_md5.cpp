// FileMd5 against the system's md5sum on the same 1 GiB file, both timed in
// wall-clock time (md5sum's work happens in a child process). The file is
// made once in the temporary folder and removed at the end; a first md5sum
// pass puts it in the page cache so both read from memory.
//
// Prints each throughput in MB/s and FileMd5's share of md5sum's.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/native_path.h"
#include "support/bench_support.h"
#include "update/file_md5.h"

namespace {

constexpr int64_t kFileBytes = int64_t{1} << 30;

std::string g_nativePath;

void MakeTestFile() {
  g_nativePath = (std::filesystem::temp_directory_path() /
                  ("vlmr-bench-md5-" + std::to_string(getpid()) + ".bin"))
                     .string();
  vlmr::bench::WriteRandomFile(g_nativePath, kFileBytes, 42);
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

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  MakeTestFile();
  const std::string warmDigest = Md5sum();  // page cache warm for both
  vlmr::bench::ThroughputReporter reporter(kFileBytes);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::filesystem::remove(g_nativePath);

  const double ours = reporter.MegabytesPerSecond("BM_FileMd5");
  const double system = reporter.MegabytesPerSecond("BM_Md5sum");
  vlmr::bench::PrintComparison("FileMd5", ours, "md5sum", system);
  benchmark::Shutdown();
  return warmDigest.size() == 32 ? 0 : 1;
}
