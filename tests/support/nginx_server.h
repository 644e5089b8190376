// A real nginx (Debian's nginx-light) for tests: serves a folder on a free
// port of 127.0.0.1 with a server block taken from a file (its "listen" and
// "root" lines replaced), as a child process in the foreground without a
// master process, its pid, logs and temporary files in a folder of its own.
// Its access log records each request's method, path, status, Range and the
// Cache-Control and Content-Encoding it answered with.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace vlmr::test {

class NginxServer {
 public:
  // Starts nginx and waits until it accepts connections; Url() is empty and
  // Problem() says why when it could not start.
  NginxServer(const std::filesystem::path& servedFolder, const std::filesystem::path& serverBlockFile);
  ~NginxServer();  // ends nginx and waits for it
  NginxServer(const NginxServer&) = delete;
  NginxServer& operator=(const NginxServer&) = delete;

  // "http://127.0.0.1:<port>" + path; empty when nginx is not running.
  std::string Url(std::string_view path) const;
  const std::string& Problem() const { return problem_; }
  // One line per request: METHOD PATH STATUS "RANGE" "CACHE-CONTROL" "CONTENT-ENCODING",
  // "-" for a header that is absent.
  std::vector<std::string> AccessLog() const;

 private:
  void Start(const std::string& config);
  bool WaitUntilListening();

  TempDir prefix_;
  pid_t pid_ = -1;
  int port_ = 0;
  std::string problem_;
};

}  // namespace vlmr::test
