// Start-up of the launcher window: from process start to the first frame
// presented, and the peak memory (resident set) at that moment.
//
//   bench_startup [RUNS]       (default 10)
//
// Each run starts this program anew as a child that goes through the
// launcher's own start-up (runtime, window system, window load with its
// creation event and first frame) and reports the monotonic time of the first
// frame; the time is counted from just before the child is spawned, so it
// includes exec, dynamic loading and static initialisation. The video driver
// is SDL's offscreen one unless SDL_VIDEODRIVER names another (x11 under Xvfb).
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/launcher_startup.h"
#include "settings/settings_store.h"

extern char** environ;

namespace {

int64_t MonotonicNs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

// The child: the launcher's start-up up to the first frame, then a report.
[[noreturn]] void RunChild(const char* argv0, int reportFd) {
  vlmr::app::InitialiseLauncher(argv0);
  vlmr::app::EventTable events;
  events.windowCreated = vlmr::settings::LoadSettings;
  vlmr::app::LoadLauncherWindow(std::move(events));  // shown with its first frame drawn
  int64_t firstFrame = MonotonicNs();
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  std::string report = std::to_string(firstFrame) + " " + std::to_string(usage.ru_maxrss) + "\n";
  ssize_t written = write(reportFd, report.data(), report.size());
  _exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
}

struct Sample {
  double startupMs;
  long peakKb;
};

bool RunOnce(const char* self, Sample* sample) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  std::string fd = std::to_string(fds[1]);
  char* argv[] = {const_cast<char*>(self), const_cast<char*>("--child"), fd.data(), nullptr};
  int64_t spawnedAt = MonotonicNs();
  pid_t child;
  int spawned = posix_spawn(&child, self, nullptr, nullptr, argv, environ);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    return false;
  }
  char buffer[128] = {};
  ssize_t n = read(fds[0], buffer, sizeof buffer - 1);
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  long long firstFrame = 0;
  long peak = 0;
  if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      std::sscanf(buffer, "%lld %ld", &firstFrame, &peak) != 2) {
    return false;
  }
  *sample = {static_cast<double>(firstFrame - spawnedAt) / 1e6, peak};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--child") == 0) RunChild(argv[0], std::atoi(argv[2]));
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  std::string self = "/proc/self/exe";
  std::vector<Sample> samples;
  for (int i = 0; i < runs; ++i) {
    Sample sample;
    if (!RunOnce(self.c_str(), &sample)) {
      std::fprintf(stderr, "bench_startup: run %d failed\n", i + 1);
      return 1;
    }
    samples.push_back(sample);
  }
  std::sort(samples.begin(), samples.end(),
            [](const Sample& a, const Sample& b) { return a.startupMs < b.startupMs; });
  const Sample& median = samples[samples.size() / 2];
  long peak = 0;
  for (const auto& s : samples) peak = std::max(peak, s.peakKb);
  std::printf("video driver        %s\n", std::getenv("SDL_VIDEODRIVER"));
  std::printf("runs                %d\n", runs);
  std::printf("start to 1st frame  min %.1f ms, median %.1f ms, max %.1f ms\n",
              samples.front().startupMs, median.startupMs, samples.back().startupMs);
  std::printf("peak resident set   median %ld KiB, max %ld KiB\n", median.peakKb, peak);
  return 0;
}
