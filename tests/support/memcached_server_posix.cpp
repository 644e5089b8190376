#include "support/memcached_server.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "support/loopback_port.h"

extern char** environ;

namespace vlmr::test {

MemcachedServer::MemcachedServer() {
  const int port = FreeLoopbackPort();
  const std::string portText = std::to_string(port);
  std::vector<const char*> argv = {"memcached", "-l", "127.0.0.1", "-p", portText.c_str(),
                                   "-U", "0", "-m", "64"};
  if (geteuid() == 0) argv.insert(argv.end(), {"-u", "root"});  // it refuses root otherwise
  argv.push_back(nullptr);
  // Its output goes nowhere: a pipe reading the test's output would otherwise
  // wait for the server too.
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
  const bool spawned = port != 0 && posix_spawnp(&pid_, "memcached", &files, nullptr,
                                                 const_cast<char* const*>(argv.data()),
                                                 environ) == 0;
  posix_spawn_file_actions_destroy(&files);
  if (!spawned) {
    pid_ = -1;
    return;
  }
  // Ready when it accepts a connection; a server that exits is no server.
  for (int attempt = 0; attempt < 500; ++attempt) {
    if (LoopbackAccepts(port)) {
      port_ = port;
      return;
    }
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

MemcachedServer::~MemcachedServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);  // nothing of it is kept; SIGTERM waits for its next clock tick
  waitpid(pid_, nullptr, 0);
}

std::string MemcachedServer::Address() const { return "127.0.0.1:" + std::to_string(port_); }

}  // namespace vlmr::test
