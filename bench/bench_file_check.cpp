// The update run's file check, as the run does it (entries planned with
// WhyRefused and LocalPathOf, FileCheck's checkers working ahead, results
// taken in order and recorded in the verified-state index), against md5sum
// over the same files, all in wall-clock time and from the page cache:
//   - 2,000 current files of 1 MiB, first check (no index): target at most
//     0.6 x md5sum's time;
//   - the same with the index the first check left: at most 0.02 x;
//   - 100,000 small current files with their index: under one second from
//     manifest in memory to "all current".
// The files are made in the temporary folder and removed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/md5.h"
#include "platform/native_path.h"
#include "support/bench_support.h"
#include "update/entry_policy.h"
#include "update/file_check.h"
#include "update/manifest.h"
#include "update/verified_state.h"

namespace {

namespace fs = std::filesystem;
using vlmr::update::ManifestEntry;

struct Install {
  fs::path folder;
  std::string programDirectory;
  std::vector<ManifestEntry> entries;
  int64_t bytes = 0;
};

Install g_large;  // 2,000 files of 1 MiB
Install g_small;  // 100,000 files of 64 bytes

std::string RelativePath(int i, int folders) {
  char name[40];
  std::snprintf(name, sizeof name, "d%03d\\f%06d.bin", i % folders, i);
  return name;
}

// Makes `count` files of `size` random bytes whose times lie an hour back
// (game files are old when the launcher checks them), and their entries.
Install MakeInstall(const std::string& name, int count, size_t size, int folders) {
  Install install;
  install.folder = fs::temp_directory_path() / (name + "-" + std::to_string(getpid()));
  install.programDirectory = vlmr::platform::ToLauncherPath(install.folder.string());
  std::mt19937_64 random(11);
  std::vector<char> bytes(size);
  const auto anHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
  std::ofstream list(install.folder.string() + "-files.txt");
  for (int i = 0; i < count; ++i) {
    vlmr::bench::FillRandom(bytes, random);
    std::string relative = RelativePath(i, folders);
    std::string native = relative;
    native[4] = '/';
    const fs::path file = install.folder / native;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    fs::last_write_time(file, anHourAgo);
    const std::string digest = vlmr::platform::Md5UpperHex(std::string_view(bytes.data(), bytes.size()));
    install.entries.push_back({vlmr::rt::Text(vlmr::rt::NewText(relative)),
                               vlmr::rt::Text(vlmr::rt::NewText(digest)), vlmr::rt::Text()});
    install.bytes += static_cast<int64_t>(size);
    list << file.string() << "\n";
  }
  return install;
}

// What the update run does for every entry up to "all current"; the count of
// entries found out of date.
int CheckAll(const Install& install, vlmr::update::VerifiedState& index) {
  std::vector<vlmr::update::CheckItem> items;
  items.reserve(install.entries.size());
  for (const ManifestEntry& entry : install.entries) {
    const vlmr::rt::Text local = vlmr::update::LocalPathOf(entry, install.programDirectory.c_str());
    if (vlmr::update::WhyRefused(entry, local.get())) continue;
    items.push_back({std::string(local.view()), std::string(entry.Md5.view()), vlmr::update::IndexKeyOf(entry)});
  }
  vlmr::update::FileCheck check(std::move(items), index);
  int outOfDate = 0;
  for (size_t i = 0; i < check.size(); ++i) {
    const vlmr::update::CheckResult result = check.Take(i);
    if (result.outOfDate) ++outOfDate;
    else index.Record(check.item(i).key, *result.stamp, check.item(i).digest);
  }
  return outOfDate;
}

void RunCheck(benchmark::State& state, const Install& install, bool withIndex) {
  for (auto _ : state) {
    vlmr::update::VerifiedState index = withIndex ? vlmr::update::VerifiedState::Load(install.programDirectory)
                                                  : vlmr::update::VerifiedState(install.programDirectory);
    if (withIndex && index.LoadedCount() != install.entries.size()) {
      state.SkipWithError("no index to trust");
      break;
    }
    if (CheckAll(install, index) != 0) {
      state.SkipWithError("a current file counted as out of date");
      break;
    }
    state.PauseTiming();
    index.Save();  // what the next start trusts
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * install.bytes);
}

void BM_FirstCheck(benchmark::State& state) { RunCheck(state, g_large, false); }
BENCHMARK(BM_FirstCheck)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_CheckWithIndex(benchmark::State& state) { RunCheck(state, g_large, true); }
BENCHMARK(BM_CheckWithIndex)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_Md5sum(benchmark::State& state) {
  const std::string command = "xargs -a '" + g_large.folder.string() + "-files.txt' md5sum > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("md5sum failed");
  }
  state.SetBytesProcessed(state.iterations() * g_large.bytes);
}
BENCHMARK(BM_Md5sum)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_HundredThousandSmallFilesWithIndex(benchmark::State& state) { RunCheck(state, g_small, true); }
BENCHMARK(BM_HundredThousandSmallFilesWithIndex)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Leaves the index a first check records, so that checks "with index" find one.
void RecordIndex(const Install& install) {
  vlmr::update::VerifiedState index(install.programDirectory);
  CheckAll(install, index);
  index.Save();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  g_large = MakeInstall("vlmr-bench-check", 2000, size_t{1} << 20, 20);
  g_small = MakeInstall("vlmr-bench-small", 100000, 64, 100);
  RecordIndex(g_large);  // also brings every file into the page cache
  RecordIndex(g_small);
  std::printf("%zu files, %.2f GiB; %zu small files\n", g_large.entries.size(),
              static_cast<double>(g_large.bytes) / (1 << 30), g_small.entries.size());

  vlmr::bench::ThroughputReporter reporter(g_large.bytes);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double first = reporter.MegabytesPerSecond("BM_FirstCheck");
  const double indexed = reporter.MegabytesPerSecond("BM_CheckWithIndex");
  const double system = reporter.MegabytesPerSecond("BM_Md5sum");
  if (first > 0 && indexed > 0 && system > 0) {
    std::printf("first check: %.2f x md5sum's time (target <= 0.6)\n", system / first);
    std::printf("with index:  %.4f x md5sum's time (target <= 0.02)\n", system / indexed);
  }

  for (Install* install : {&g_large, &g_small}) {
    install->entries.clear();
    fs::remove_all(install->folder);
    fs::remove(install->folder.string() + "-files.txt");
  }
  benchmark::Shutdown();
  return first > 0 && system > 0 ? 0 : 1;
}
