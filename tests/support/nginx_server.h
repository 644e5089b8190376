// A real nginx (Debian's nginx-light) serving a folder on a free port of
// 127.0.0.1 with a server block read from a file (its "listen" and "root"
// pointed at the test's), in the foreground without a master process, every
// file it writes in a folder of its own. Its access log has one line per
// request: METHOD PATH STATUS "RANGE" "CACHE-CONTROL" "CONTENT-ENCODING"
// ("-" for a header that is absent).
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
  // Starts nginx and waits until it accepts connections.
  NginxServer(const std::filesystem::path& servedFolder, const std::filesystem::path& serverBlockFile);
  ~NginxServer();
  NginxServer(const NginxServer&) = delete;
  NginxServer& operator=(const NginxServer&) = delete;

  // "http://127.0.0.1:<port>" + path; empty when nginx did not start.
  std::string Url(std::string_view path) const;
  // Why nginx did not start (its error output).
  std::string Problem() const;
  std::vector<std::string> AccessLog() const;

 private:
  bool StartedListening();
  void Stop();

  TempDir prefix_;
  int port_ = 0;
  pid_t pid_ = -1;
};

}  // namespace vlmr::test
