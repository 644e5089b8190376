// The in-memory load of a DLL image, timed inside the process (for the
// Windows build under Wine, whose own start-up must not count): the image is
// read from PATH once, then loaded from memory and released `repeats` times,
// each load followed by the lookup of every name given; for comparison the
// system loader's LoadLibrary of the same file. Prints the best and median
// milliseconds of each.
// Usage: memory_module_timing PATH REPEATS [NAME...]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/memory_module.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

void Report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%s: best %.2f ms, median %.2f ms\n", what, times.front(), times[times.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vlmr::platform;
  if (argc < 3) {
    std::fprintf(stderr, "usage: memory_module_timing PATH REPEATS [NAME...]\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::string image{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const int repeats = std::max(1, std::atoi(argv[2]));
  std::vector<double> fromMemory, bySystem;
  for (int i = 0; i < repeats; ++i) {
    const auto start = Clock::now();
    MemoryModule* module = LoadMemoryModule(image.data(), image.size(), SystemModuleServices());
    for (int n = 3; n < argc && module != nullptr; ++n) {
      if (FindMemoryModuleExport(module, argv[n]) == nullptr) {
        std::fprintf(stderr, "memory_module_timing: %s not found\n", argv[n]);
        return 1;
      }
    }
    fromMemory.push_back(Milliseconds(start));
    if (module == nullptr) {
      std::fprintf(stderr, "memory_module_timing: load failed with error %u\n", LastMemoryModuleError());
      return 1;
    }
    ReleaseMemoryModule(module);

    const auto systemStart = Clock::now();
    HMODULE system = ::LoadLibraryA(argv[1]);
    bySystem.push_back(Milliseconds(systemStart));
    ::FreeLibrary(system);
  }
  std::printf("image: %zu bytes\n", image.size());
  Report("in-memory load", fromMemory);
  Report("LoadLibrary from the file", bySystem);
  return 0;
}
