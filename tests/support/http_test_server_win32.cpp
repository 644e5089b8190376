// HttpTestServer on Windows: a client of the Linux http_test_service, which
// runs the real server (whose port the test then uses directly) and records
// its requests. The service's control port comes from VLMR_TEST_HTTP_SERVICE.
#include "support/http_test_server.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <stdexcept>

#include "support/http_test_wire.h"

namespace vlmr::test {
namespace {

std::string Encoded(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// One request to the service; its response body. Throws when it fails.
std::string Control(const char* verb, const std::string& object, std::string_view body = {}) {
  const char* port = std::getenv("VLMR_TEST_HTTP_SERVICE");
  if (!port || !*port) throw std::runtime_error("VLMR_TEST_HTTP_SERVICE names no http_test_service");
  HINTERNET internet = ::InternetOpenA("vlmr-tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  HINTERNET connection = ::InternetConnectA(internet, "127.0.0.1", static_cast<INTERNET_PORT>(std::atoi(port)),
                                            nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = ::HttpOpenRequestA(connection, verb, object.c_str(), nullptr, nullptr, nullptr,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  std::string answer;
  bool sent = request && ::HttpSendRequestA(request, nullptr, 0, const_cast<char*>(body.data()),
                                            static_cast<DWORD>(body.size()));
  char block[65536];
  DWORD got = 0;
  while (sent && ::InternetReadFile(request, block, sizeof block, &got) && got > 0) answer.append(block, got);
  ::InternetCloseHandle(request);
  ::InternetCloseHandle(connection);
  ::InternetCloseHandle(internet);
  if (!sent) throw std::runtime_error("the http_test_service does not answer");
  return answer;
}

}  // namespace

struct HttpTestServer::State {
  int id = 0;
  int port = 0;
  std::string Object(const char* action, std::string_view path = {}) const {
    return "/servers/" + std::to_string(id) + "/" + action + (path.empty() ? "" : "?path=" + Encoded(path));
  }
};

HttpTestServer::HttpTestServer(std::filesystem::path folder, Transport transport)
    : state_(std::make_shared<State>()) {
  if (!folder.empty() || transport != Transport::Http) {
    throw std::runtime_error("on Windows the test server serves in-memory files over HTTP only");
  }
  const std::string created = Control("POST", "/servers");
  state_->id = std::atoi(created.c_str());
  state_->port = std::atoi(created.c_str() + created.find(' ') + 1);
}

HttpTestServer::~HttpTestServer() {
  try {
    Control("DELETE", "/servers/" + std::to_string(state_->id));
  } catch (const std::exception&) {
  }
}

int HttpTestServer::Port() const { return state_->port; }

std::string HttpTestServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(state_->port) + std::string(path);
}

std::string HttpTestServer::CertificateFile() const { return {}; }

void HttpTestServer::Serve(const std::string& path, std::string body) {
  Control("POST", state_->Object("serve", path), body);
}

void HttpTestServer::ServeGenerated(const std::string& path, int64_t size, uint8_t seed) {
  Control("POST", state_->Object("generate", path) + "&size=" + std::to_string(size) + "&seed=" +
                      std::to_string(seed));
}

void HttpTestServer::QueueFault(const std::string& path, HttpFault fault, int times) {
  Control("POST",
          state_->Object("fault", path) + "&kind=" + std::to_string(static_cast<int>(fault.kind)) +
              "&value=" + std::to_string(fault.value) + "&times=" + std::to_string(times) +
              "&retryAfter=" + std::to_string(fault.retryAfter),
          fault.body);
}

std::vector<RecordedRequest> HttpTestServer::Requests() const {
  return ParseRequests(Control("GET", state_->Object("requests")));
}

void HttpTestServer::Stop() { Control("POST", state_->Object("stop")); }

}  // namespace vlmr::test
