// update_server [--host HOST] [--port PORT] [--quiet] FOLDER
// Serves FOLDER over HTTP with byte ranges until interrupted. Port 0 picks a
// free port; the first line printed names the address in use.
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "folder_server.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: update_server [--host HOST] [--port PORT] [--rate KIB_PER_S] [--quiet] FOLDER\n"
                       "  serves FOLDER over HTTP with byte ranges (default 127.0.0.1:8640)\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string host = "127.0.0.1";
  int port = 8640;
  bool quiet = false;
  long rateKiB = 0;
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--host" && i + 1 < argc) host = argv[++i];
    else if (arg == "--port" && i + 1 < argc) port = std::atoi(argv[++i]);
    else if (arg == "--quiet") quiet = true;
    else if (arg == "--rate" && i + 1 < argc) rateKiB = std::atol(argv[++i]);
    else if (!arg.starts_with("-") && folder.empty()) folder = arg;
    else return Usage();
  }
  if (folder.empty() || port < 0 || port > 65535 || rateKiB < 0) return Usage();
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    std::fprintf(stderr, "update_server: %s is not a folder\n", folder.c_str());
    return 1;
  }

  // Signals are taken by one thread that stops the server.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  vlmr::tools::FolderServer server(folder, !quiet);
  server.SetRateLimit(int64_t{rateKiB} * 1024);
  if (!server.Bind(host, port)) {
    std::fprintf(stderr, "update_server: cannot listen on %s:%d\n", host.c_str(), port);
    return 1;
  }
  std::printf("serving %s on http://%s:%d/\n", folder.c_str(), host.c_str(), server.Port());
  std::fflush(stdout);
  std::atomic<bool> signalled{false};
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    signalled = true;
    server.Stop();
  });
  server.Listen();
  if (!signalled) pthread_kill(stopper.native_handle(), SIGTERM);  // Listen ended by itself
  stopper.join();
  return 0;
}
