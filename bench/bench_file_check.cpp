// The update run's file check: IsOutOfDate over 2,000 current files of about
// 2 GiB in all, against `md5sum` over the same files (one process fed by
// xargs), both in wall-clock time and both reading from the page cache. The
// files are made once in the temporary folder and removed at the end.
//
// Prints each throughput in MB/s and the check's share of md5sum's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/native_path.h"
#include "support/bench_support.h"
#include "update/file_md5.h"
#include "update/manifest.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 2000;
constexpr int kFolders = 20;

fs::path g_folder;
int64_t g_totalBytes = 0;
std::vector<vlmr::update::ManifestEntry> g_entries;

// Sizes from 64 KiB to about 2 MiB, about 1 MiB on average.
size_t SizeOf(int i) { return (64 + static_cast<size_t>(i) * 7919 % 1961) * 1024; }

std::string RelativePath(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "d%02d/f%04d.bin", i % kFolders, i);
  return name;
}

void MakeFiles() {
  std::mt19937_64 random(11);
  std::vector<char> bytes;
  for (int i = 0; i < kFiles; ++i) {
    bytes.resize(SizeOf(i));
    vlmr::bench::FillRandom(bytes, random);
    const fs::path file = g_folder / RelativePath(i);
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    g_totalBytes += static_cast<int64_t>(bytes.size());
  }
}

// Manifest entries whose digests match the files (taken with FileMd5, which
// also puts every file in the page cache).
void MakeEntries(const std::string& programDirectory) {
  for (int i = 0; i < kFiles; ++i) {
    std::string path = RelativePath(i);
    path[3] = '\\';
    const std::string local = programDirectory + "\\" + path;
    g_entries.push_back({vlmr::rt::Text(vlmr::rt::NewText(path)), vlmr::update::FileMd5(local.c_str()),
                         vlmr::rt::Text()});
  }
}

void BM_IsOutOfDate(benchmark::State& state) {
  const std::string programDirectory = vlmr::platform::ToLauncherPath(g_folder.string());
  for (auto _ : state) {
    int outOfDate = 0;
    for (const auto& entry : g_entries) outOfDate += vlmr::update::IsOutOfDate(entry, programDirectory.c_str());
    if (outOfDate != 0) state.SkipWithError("a current file counted as out of date");
  }
  state.SetBytesProcessed(state.iterations() * g_totalBytes);
}
BENCHMARK(BM_IsOutOfDate)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Md5sum(benchmark::State& state) {
  const std::string command =
      "cd '" + g_folder.string() + "' && xargs -a files.txt md5sum > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("md5sum failed");
  }
  state.SetBytesProcessed(state.iterations() * g_totalBytes);
}
BENCHMARK(BM_Md5sum)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  g_folder = fs::temp_directory_path() / ("vlmr-bench-check-" + std::to_string(getpid()));
  MakeFiles();
  {
    std::ofstream list(g_folder / "files.txt");
    for (int i = 0; i < kFiles; ++i) list << RelativePath(i) << "\n";
  }
  MakeEntries(vlmr::platform::ToLauncherPath(g_folder.string()));
  std::printf("%d files, %.2f GiB\n", kFiles, static_cast<double>(g_totalBytes) / (1 << 30));

  vlmr::bench::ThroughputReporter reporter(g_totalBytes);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double ours = reporter.MegabytesPerSecond("BM_IsOutOfDate");
  const double system = reporter.MegabytesPerSecond("BM_Md5sum");
  vlmr::bench::PrintComparison("IsOutOfDate", ours, "md5sum", system);

  g_entries.clear();
  fs::remove_all(g_folder);
  benchmark::Shutdown();
  return ours > 0 && system > 0 ? 0 : 1;
}
