// Pieces shared by the throughput benchmarks: files of random bytes, a
// reporter that keeps each benchmark's wall-clock throughput, and the closing
// comparison of ours against the system tool's.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace vlmr::bench {

// Fills `bytes` with words from `random` (a tail shorter than a word stays as is).
void FillRandom(std::vector<char>& bytes, std::mt19937_64& random);

// Writes `size` random bytes (from the seed) to `file`, 1 MiB at a time.
void WriteRandomFile(const std::filesystem::path& file, int64_t size, uint64_t seed);

// The console reporter that also keeps each benchmark's throughput in MB/s of
// wall-clock time, for `bytesPerIteration` bytes an iteration. Runs that
// ended in an error are left out.
class ThroughputReporter : public benchmark::ConsoleReporter {
 public:
  explicit ThroughputReporter(int64_t bytesPerIteration);
  void ReportRuns(const std::vector<Run>& runs) override;
  // 0 when the benchmark gave no result.
  double MegabytesPerSecond(const std::string& benchmarkName) const;

 private:
  int64_t bytesPerIteration_;
  std::map<std::string, double> megabytesPerSecond_;
};

// Prints both throughputs under aligned labels and, when both are known, ours
// as a percentage of theirs.
void PrintComparison(const std::string& ourLabel, double ours, const std::string& theirLabel,
                     double theirs);

}  // namespace vlmr::bench
