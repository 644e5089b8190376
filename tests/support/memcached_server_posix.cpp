#include "support/memcached_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

extern char** environ;

namespace vlmr::test {
namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A port nobody listens on now (the system's pick for an ephemeral bind).
int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

bool Answers(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in address = Loopback(port);
  const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

}  // namespace

MemcachedServer::MemcachedServer() {
  const int port = FreePort();
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
    if (Answers(port)) {
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
