// A real Memcached server (Debian's memcached) on 127.0.0.1 for tests and
// benchmarks: started on a free port, ready once it answers, stopped (and
// waited for) when the object goes.
#pragma once

#include <sys/types.h>

#include <string>

namespace vlmr::test {

class MemcachedServer {
 public:
  // Starts the server; Started() tells whether it answers.
  MemcachedServer();
  MemcachedServer(const MemcachedServer&) = delete;
  MemcachedServer& operator=(const MemcachedServer&) = delete;
  ~MemcachedServer();

  bool Started() const { return port_ != 0; }
  int port() const { return port_; }
  // "127.0.0.1:port", the form CreateMemcached takes.
  std::string Address() const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace vlmr::test
