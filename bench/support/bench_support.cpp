#include "support/bench_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace vlmr::bench {

void FillRandom(std::vector<char>& bytes, std::mt19937_64& random) {
  for (size_t i = 0; i + sizeof(uint64_t) <= bytes.size(); i += sizeof(uint64_t)) {
    const uint64_t word = random();
    std::memcpy(bytes.data() + i, &word, sizeof word);
  }
}

void WriteRandomFile(const std::filesystem::path& file, int64_t size, uint64_t seed) {
  constexpr int64_t kChunkBytes = int64_t{1} << 20;
  std::mt19937_64 random(seed);
  std::vector<char> chunk;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (int64_t written = 0; written < size; written += kChunkBytes) {
    chunk.resize(static_cast<size_t>(std::min(kChunkBytes, size - written)));
    FillRandom(chunk, random);
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
  }
}

ThroughputReporter::ThroughputReporter(int64_t bytesPerIteration)
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular),
      bytesPerIteration_(bytesPerIteration) {}

void ThroughputReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration || run.iterations == 0 || run.error_occurred) continue;
    const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
    megabytesPerSecond_[run.run_name.function_name] =
        static_cast<double>(bytesPerIteration_) / seconds / 1e6;
  }
  ConsoleReporter::ReportRuns(runs);
}

double ThroughputReporter::MegabytesPerSecond(const std::string& benchmarkName) const {
  const auto found = megabytesPerSecond_.find(benchmarkName);
  return found == megabytesPerSecond_.end() ? 0 : found->second;
}

void PrintComparison(const std::string& ourLabel, double ours, const std::string& theirLabel,
                     double theirs) {
  const int width = static_cast<int>(std::max(ourLabel.size(), theirLabel.size())) + 1;
  std::printf("%-*s %.1f MB/s\n", width, (ourLabel + ":").c_str(), ours);
  std::printf("%-*s %.1f MB/s\n", width, (theirLabel + ":").c_str(), theirs);
  if (ours > 0 && theirs > 0) {
    std::printf("%s / %s: %.1f %%\n", ourLabel.c_str(), theirLabel.c_str(), 100.0 * ours / theirs);
  }
}

}  // namespace vlmr::bench
