#include "support/nginx_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <thread>

namespace vlmr::test {
namespace {

constexpr int kConnectAttempts = 200;
constexpr auto kBetweenAttempts = std::chrono::milliseconds(25);

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A port of 127.0.0.1 that nobody listens on at the moment.
int FreePort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

bool Accepts(int port) {
  const int client = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(port);
  const bool connected = connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(client);
  return connected;
}

// The server block with its "listen" and "root" lines pointed at the test's port and folder.
std::string ServerBlockFor(const std::filesystem::path& file, int port, const std::filesystem::path& served) {
  std::string block = ReadFileBytes(file);
  block = std::regex_replace(block, std::regex(R"(\n(\s*)listen [^;]*;)"),
                             "\n$1listen 127.0.0.1:" + std::to_string(port) + ";");
  return std::regex_replace(block, std::regex(R"(\n(\s*)root [^;]*;)"), "\n$1root " + served.string() + ";");
}

// nginx.conf around the server block: foreground, one process, every path
// it writes inside `prefix`.
std::string ConfigAround(const std::string& serverBlock, const std::filesystem::path& prefix) {
  const std::string p = prefix.string() + "/";
  std::string config = "daemon off;\nmaster_process off;\nworker_processes 1;\n";
  if (geteuid() == 0) config += "user root;\n";
  config += "pid " + p + "nginx.pid;\nerror_log " + p + "error.log;\nevents { worker_connections 64; }\n";
  config += "http {\n  log_format vlmr '$request_method $uri $status \"$http_range\" "
            "\"$sent_http_cache_control\" \"$sent_http_content_encoding\"';\n";
  config += "  access_log " + p + "access.log vlmr;\n";
  for (const char* temp : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"}) {
    config += std::string("  ") + temp + "_temp_path " + p + temp + ";\n";
  }
  return config + serverBlock + "\n}\n";
}

}  // namespace

NginxServer::NginxServer(const std::filesystem::path& servedFolder,
                         const std::filesystem::path& serverBlockFile) {
  port_ = FreePort();
  Start(ConfigAround(ServerBlockFor(serverBlockFile, port_, servedFolder), prefix_.path()));
  if (pid_ > 0 && !WaitUntilListening()) {
    problem_ += "nginx did not start: " + prefix_.Read("error.log") + prefix_.Read("stderr.txt");
  }
}

NginxServer::~NginxServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
}

void NginxServer::Start(const std::string& config) {
  prefix_.Write("nginx.conf", config);
  const std::string prefix = prefix_.path().string() + "/";
  const std::string conf = prefix + "nginx.conf";
  const std::string errors = prefix + "error.log";
  const std::string stderrFile = prefix + "stderr.txt";
  pid_ = fork();
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlives the test, however it ends
    if (!freopen(stderrFile.c_str(), "w", stderr)) _exit(126);
    execlp("nginx", "nginx", "-p", prefix.c_str(), "-c", conf.c_str(), "-e", errors.c_str(), nullptr);
    execl("/usr/sbin/nginx", "nginx", "-p", prefix.c_str(), "-c", conf.c_str(), "-e", errors.c_str(), nullptr);
    _exit(127);
  }
  if (pid_ < 0) problem_ = "fork failed";
}

bool NginxServer::WaitUntilListening() {
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    if (Accepts(port_)) return true;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      if (WIFEXITED(status) && WEXITSTATUS(status) == 127) problem_ = "no nginx: install nginx-light. ";
      return false;
    }
    std::this_thread::sleep_for(kBetweenAttempts);
  }
  return false;
}

std::string NginxServer::Url(std::string_view path) const {
  if (!problem_.empty() || pid_ <= 0) return {};
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> NginxServer::AccessLog() const {
  std::vector<std::string> lines;
  const std::string text = prefix_.Read("access.log");
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

}  // namespace vlmr::test
