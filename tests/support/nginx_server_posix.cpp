#include "support/nginx_server.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <thread>

#include "support/loopback_port.h"

namespace vlmr::test {
namespace {

// nginx.conf: the server block with the test's port and folder, in the
// foreground, one process, everything it writes inside `prefix`.
std::string Config(const std::filesystem::path& blockFile, int port, const std::filesystem::path& served,
                   const std::string& prefix) {
  std::string block = ReadFileBytes(blockFile);
  block = std::regex_replace(block, std::regex(R"(\blisten [^;]*;)"), "listen 127.0.0.1:" + std::to_string(port) + ";");
  block = std::regex_replace(block, std::regex(R"(\broot [^;]*;)"), "root " + served.string() + ";");
  std::string config = "daemon off;\nmaster_process off;\n" + std::string(geteuid() == 0 ? "user root;\n" : "") +
                       "pid " + prefix + "nginx.pid;\nevents {}\nhttp {\n" +
                       "  log_format t '$request_method $uri $status \"$http_range\" \"$sent_http_cache_control\" "
                       "\"$sent_http_content_encoding\"';\n  access_log " + prefix + "access.log t;\n";
  for (const char* temp : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"}) {
    config += std::string("  ") + temp + "_temp_path " + prefix + temp + ";\n";
  }
  return config + block + "}\n";
}

}  // namespace

NginxServer::NginxServer(const std::filesystem::path& servedFolder, const std::filesystem::path& serverBlockFile)
    : port_(FreeLoopbackPort()) {
  const std::string prefix = prefix_.path().string() + "/";
  prefix_.Write("nginx.conf", Config(serverBlockFile, port_, servedFolder, prefix));
  pid_ = fork();
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlives the test, however it ends
    if (freopen((prefix + "error.log").c_str(), "a", stderr)) {
      execl("/usr/sbin/nginx", "nginx", "-p", prefix.c_str(), "-c", (prefix + "nginx.conf").c_str(), "-e",
            (prefix + "error.log").c_str(), nullptr);
      std::perror("/usr/sbin/nginx (scripts/test.sh installs nginx-light)");
    }
    _exit(127);
  }
  if (!StartedListening()) Stop();
}

NginxServer::~NginxServer() { Stop(); }

void NginxServer::Stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  pid_ = -1;
}

bool NginxServer::StartedListening() {
  for (int attempt = 0; attempt < 400 && pid_ > 0; ++attempt) {
    if (LoopbackAccepts(port_)) return true;
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;  // it ended: Problem() says why
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

std::string NginxServer::Url(std::string_view path) const {
  return pid_ > 0 ? "http://127.0.0.1:" + std::to_string(port_) + std::string(path) : std::string();
}

std::string NginxServer::Problem() const { return prefix_.Read("error.log"); }

std::vector<std::string> NginxServer::AccessLog() const { return ReadFileLines(prefix_ / "access.log"); }

}  // namespace vlmr::test
