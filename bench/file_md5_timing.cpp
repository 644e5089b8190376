// FileMd5 over one file, timed inside the process: for the Windows build under
// Wine, whose own start-up must not count. Hashes the file `repeats` times
// and prints the digest and the best run's throughput in MB/s
// ("<digest> <MB/s>"), which scripts/bench_windows_md5.sh compares with
// md5sum on Linux.
// Usage: file_md5_timing PATH [REPEATS]   (PATH as the launcher takes it)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/file_install.h"
#include "update/file_md5.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: file_md5_timing PATH [REPEATS]\n");
    return 2;
  }
  const std::string path = argv[1];
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const auto size = vlmr::platform::FileSize64(path);
  if (!size) {
    std::fprintf(stderr, "file_md5_timing: cannot read %s\n", path.c_str());
    return 1;
  }
  double best = 0;
  std::string digest;
  for (int i = 0; i < repeats; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const vlmr::rt::Text text = vlmr::update::FileMd5(path.c_str());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    digest.assign(text.view());
    if (digest.size() != 32) {
      std::fprintf(stderr, "file_md5_timing: FileMd5 gave no digest\n");
      return 1;
    }
    best = std::max(best, static_cast<double>(*size) / 1e6 / took.count());
  }
  std::printf("%s %.0f\n", digest.c_str(), best);
  return 0;
}
