// DownloadFile of a 1 GiB file from update_server on 127.0.0.1 against
// `curl -s -o` of the same URL to disk, both in wall-clock time. The file is
// made once in the temporary folder (and read once so the server serves it
// from the page cache); everything is removed at the end.
//
// update_server is taken from VLMR_UPDATE_SERVER, else from the build tree
// beside this program (../tools/update_server/update_server).
// Prints each throughput in MB/s and DownloadFile's share of curl's.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/native_path.h"
#include "runtime/launcher_ids.h"
#include "runtime/recording_window_system.h"
#include "runtime/window_system.h"
#include "support/bench_support.h"
#include "update/download.h"

namespace {

namespace fs = std::filesystem;

constexpr int64_t kFileBytes = int64_t{1} << 30;

fs::path g_folder;
std::string g_url;
pid_t g_server = -1;

std::string UpdateServerProgram() {
  if (const char* configured = std::getenv("VLMR_UPDATE_SERVER")) return configured;
  return (fs::read_symlink("/proc/self/exe").parent_path() / "../tools/update_server/update_server")
      .lexically_normal()
      .string();
}

// Starts update_server on a free port and returns its base URL ("" on failure).
std::string StartServer(const fs::path& folder) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const std::string program = UpdateServerProgram();
  g_server = fork();
  if (g_server == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    execl(program.c_str(), program.c_str(), "--port", "0", "--quiet", folder.c_str(), nullptr);
    _exit(127);
  }
  close(fds[1]);
  FILE* out = fdopen(fds[0], "r");
  char line[512] = {};
  std::string base;
  if (out && fgets(line, sizeof line, out)) {
    std::string text = line;
    size_t at = text.find("http://");
    if (at != std::string::npos) base = text.substr(at, text.find('/', at + 7) - at);
  }
  if (out) fclose(out);
  return base;
}

void StopServer() {
  if (g_server <= 0) return;
  kill(g_server, SIGTERM);
  waitpid(g_server, nullptr, 0);
}

void BM_DownloadFile(benchmark::State& state) {
  vlmr::rt::RecordingWindowSystem windows;  // ShowUpdateProgress writes the status label
  windows.AddWindow(vlmr::rt::ids::kLauncherWindow, {vlmr::rt::ids::kStatusLabel});
  vlmr::rt::InstallWindowSystem(&windows);
  const fs::path local = g_folder / "client" / "big.bin";
  const std::string launcherPath = vlmr::platform::ToLauncherPath(local.string());
  for (auto _ : state) {
    int32_t result = vlmr::update::DownloadFile(g_url.c_str(), launcherPath.c_str(),
                                                &vlmr::update::ShowUpdateProgress, 0, false);
    if (result != vlmr::update::kDownloadDone || fs::file_size(local) != kFileBytes)
      state.SkipWithError("DownloadFile did not bring the whole file");
  }
  vlmr::rt::InstallWindowSystem(nullptr);
  state.SetBytesProcessed(state.iterations() * kFileBytes);
}
BENCHMARK(BM_DownloadFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_CurlToDisk(benchmark::State& state) {
  const fs::path local = g_folder / "client" / "curl.bin";
  const std::string command = "curl -s -o '" + local.string() + "' '" + g_url + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0 || fs::file_size(local) != kFileBytes)
      state.SkipWithError("curl did not bring the whole file");
  }
  state.SetBytesProcessed(state.iterations() * kFileBytes);
}
BENCHMARK(BM_CurlToDisk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  g_folder = fs::temp_directory_path() / ("vlmr-bench-download-" + std::to_string(getpid()));
  fs::create_directories(g_folder / "served");
  fs::create_directories(g_folder / "client");
  vlmr::bench::WriteRandomFile(g_folder / "served" / "big.bin", kFileBytes, 7);
  const std::string base = StartServer(g_folder / "served");
  int status = 1;
  if (base.empty()) {
    std::fprintf(stderr, "bench_download: update_server (%s) did not start\n",
                 UpdateServerProgram().c_str());
  } else {
    g_url = base + "/big.bin";
    vlmr::bench::ThroughputReporter reporter(kFileBytes);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.MegabytesPerSecond("BM_DownloadFile");
    const double curl = reporter.MegabytesPerSecond("BM_CurlToDisk");
    vlmr::bench::PrintComparison("DownloadFile", ours, "curl", curl);
    status = ours > 0 && curl > 0 ? 0 : 1;
  }
  StopServer();
  fs::remove_all(g_folder);
  benchmark::Shutdown();
  return status;
}
