// An HTTP server that serves the files of one folder, streaming them from disk
// with single byte-range support, for the launcher's update demo and for
// operators who want a quick update server.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace vlmr::tools {

class FolderServer {
 public:
  // Nothing is served until Listen.
  FolderServer(std::filesystem::path folder, bool logRequests);
  ~FolderServer();

  // Paces every response to at most this many bytes per second (0: no limit),
  // so that a demo on the loopback shows its progress bar moving.
  void SetRateLimit(int64_t bytesPerSecond);
  // Binds host:port (port 0: any free port); false when it cannot.
  bool Bind(const std::string& host, int port);
  int Port() const;
  // Serves until Stop (from another thread or a signal handler's thread).
  void Listen();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vlmr::tools
