// What loading the server component adds to the launcher's start: the first
// notification (unpack, write, load and bind the module, or load the file
// already in the private folder), measured inside fresh processes, and the
// whole process from spawn to exit with and without the load.
//
//   bench_component_load [RUNS]      (default 20)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "component/embedded_module.h"
#include "component/module_unpacking.h"
#include "component/server_suite.h"
#include "runtime/runtime_frame.h"
#include "runtime/runtime_libraries.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

int64_t MonotonicNs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

// The child: loads the component (or not) and reports the load's duration.
[[noreturn]] void RunChild(bool load, int reportFd) {
  const int64_t start = MonotonicNs();
  if (load) {
    vlmr::component::NotifyServerSuite(vlmr::rt::kNotifyRuntimeCallback,
                                       reinterpret_cast<intptr_t>(&vlmr::rt::notify_runtime), 0);
  }
  const std::string report = std::to_string(MonotonicNs() - start) + "\n";
  const bool written = write(reportFd, report.data(), report.size()) == ssize_t(report.size());
  vlmr::rt::end_program(written ? 0 : 1);  // the end deletes the file the loader wrote
}

struct Sample {
  double loadMs;     // inside the child
  double processMs;  // spawn to exit
};

bool RunOnce(const char* mode, const fs::path& runtimeFolder, Sample* sample) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const std::string fd = std::to_string(fds[1]);
  setenv("XDG_RUNTIME_DIR", runtimeFolder.c_str(), 1);
  char* argv[] = {const_cast<char*>("/proc/self/exe"), const_cast<char*>(mode),
                  const_cast<char*>(fd.c_str()), nullptr};
  const int64_t spawnedAt = MonotonicNs();
  pid_t child;
  const int spawned = posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv, environ);
  close(fds[1]);
  char buffer[64] = {};
  const ssize_t n = spawned == 0 ? read(fds[0], buffer, sizeof buffer - 1) : -1;
  close(fds[0]);
  int status = 0;
  if (spawned == 0) waitpid(child, &status, 0);
  const int64_t endedAt = MonotonicNs();
  if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  *sample = {std::atof(buffer) / 1e6, double(endedAt - spawnedAt) / 1e6};
  return true;
}

void Print(const char* label, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::printf("%-44s min %6.2f ms, median %6.2f ms, max %6.2f ms\n", label, values.front(),
              values[values.size() / 2], values.back());
}

struct Scenario {
  const char* label;
  const char* mode;
  bool moduleOnDisk;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--load") == 0) RunChild(true, std::atoi(argv[2]));
  if (argc == 3 && std::strcmp(argv[1], "--none") == 0) RunChild(false, std::atoi(argv[2]));
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

  const fs::path runtime = fs::temp_directory_path() / ("bench-component-" + std::to_string(getpid()));
  fs::create_directories(runtime / "vlmr");
  fs::permissions(runtime, fs::perms::owner_all);
  fs::permissions(runtime / "vlmr", fs::perms::owner_all);
  const std::string module = vlmr::component::UnpackModule(vlmr::component::EmbeddedPackedModule());
  const fs::path onDisk = runtime / "vlmr" / "TARNCore.2.7.2.dll";

  const Scenario scenarios[] = {
      {"no component (process only)", "--none", false},
      {"unpacked, written and loaded", "--load", false},
      {"loaded from the private folder", "--load", true},
  };
  std::printf("module %zu bytes, packed %zu bytes, %d runs each\n", module.size(),
              vlmr::component::EmbeddedPackedModule().size(), runs);
  double baseProcess = 0;
  for (const Scenario& scenario : scenarios) {
    std::vector<double> loads, processes;
    for (int i = 0; i < runs; ++i) {
      if (scenario.moduleOnDisk) {
        std::ofstream(onDisk, std::ios::binary).write(module.data(), std::streamsize(module.size()));
        fs::permissions(onDisk, fs::perms::owner_all);
      }
      Sample sample;
      if (!RunOnce(scenario.mode, runtime, &sample)) {
        std::fprintf(stderr, "bench_component_load: a run failed\n");
        return 1;
      }
      loads.push_back(sample.loadMs);
      processes.push_back(sample.processMs);
    }
    std::printf("%s\n", scenario.label);
    if (scenario.moduleOnDisk || std::strcmp(scenario.mode, "--load") == 0) {
      Print("  first notification (the load)", loads);
    }
    Print("  process, spawn to exit", processes);
    std::sort(processes.begin(), processes.end());
    const double median = processes[processes.size() / 2];
    if (baseProcess == 0) {
      baseProcess = median;
    } else {
      std::printf("  added to the process (median)              %6.2f ms\n", median - baseProcess);
    }
  }
  fs::remove_all(runtime);
  return 0;
}
