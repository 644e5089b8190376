// HTTP and HTTPS over libcurl, in one place. A transfer is opened (request sent,
// response headers received) and its body is then pulled block by block, the
// way WinINet's InternetReadFile hands it out, so callers keep their own read
// loop. Proxies come from the environment (http_proxy, https_proxy, no_proxy)
// unless the request names one or asks for a direct connection. HTTPS servers
// are verified against the system's certificates, or against those in the
// file SSL_CERT_FILE names (as OpenSSL's own tools do: a private CA).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vlmr::platform {

enum class ProxyMode {
  Environment,  // libcurl's reading of http_proxy / https_proxy / no_proxy
  Direct,       // no proxy at all
  Named,        // HttpRequest::proxy
};

struct HttpRequest {
  std::string url;
  std::string method = "GET";
  std::string userAgent;
  // Extra header lines "Name: value" (or "Name:value"); a later line with the
  // same name replaces an earlier one.
  std::vector<std::string> headers;
  bool http10 = false;
  std::string user;
  std::string password;

  ProxyMode proxyMode = ProxyMode::Environment;
  std::string proxy;
  std::string proxyUser;
  std::string proxyPassword;

  // A server that accepts no connection within connectTimeout, or sends no
  // byte for stallTimeout (before or during the body), fails the transfer.
  std::chrono::milliseconds connectTimeout{15000};
  std::chrono::milliseconds stallTimeout{30000};
};

// Why no response arrived, in the classes a caller decides on: a server that
// refused the connection, reset it or went silent may answer a moment later;
// a name that does not resolve or a certificate that does not verify will not.
enum class HttpFailure {
  None,
  NameNotResolved,
  CannotConnect,
  ConnectionReset,
  TimedOut,
  Secure,
  Other,
};

class HttpTransfer {
 public:
  // Sends the request and waits until the final response's headers are in
  // (redirects are followed, as WinINet does). Null when no response arrives
  // (bad URL, no connection, TLS failure, time-out); the reason is then in
  // *error and its class in *failure.
  static std::unique_ptr<HttpTransfer> Open(const HttpRequest& request,
                                            std::string* error = nullptr,
                                            HttpFailure* failure = nullptr);
  ~HttpTransfer();
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // Status code of the final response.
  int Status() const;
  // Value of the final response's header (name compared without letter case),
  // without surrounding blanks; nullopt when absent.
  std::optional<std::string> Header(std::string_view name) const;

  // Fills up to n bytes of the body and returns the count. Fewer than n only
  // at the end of the body or just before a failure: 0 means the body ended
  // cleanly, -1 that the transfer failed (connection lost, body shorter than
  // announced, time-out); LastError() then tells why.
  int64_t Read(void* buffer, size_t n);
  const std::string& LastError() const;

 private:
  struct Impl;
  explicit HttpTransfer(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace vlmr::platform
