// A real HTTP server on 127.0.0.1 (ephemeral port) for tests: serves a folder
// and in-memory files with single byte-range support, records every request's
// headers, and injects faults into chosen responses. With TLS it speaks HTTPS
// with a self-signed certificate made for 127.0.0.1 at start.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vlmr::test {

// A fault applied to one response of a path.
struct HttpFault {
  enum class Kind {
    CutAfter,            // announce the whole length, close after `value` body bytes
    Chunked,             // no Content-Length: chunked transfer encoding
    CloseDelimited,      // no Content-Length: the body ends when the connection closes
                         // (after `value` bytes when value > 0)
    AnnounceLength,      // announce `value` as Content-Length, send the real body, close
    Status,              // answer with status `value` and `body` instead of the file
    IgnoreRange,         // answer a range request with 200 and the whole file
    RangeNotSatisfiable, // answer a range request with 416
    ContentRangeFrom,    // answer a range request with 206 starting at `value`
    Endless,             // close-delimited body that never ends (until the client leaves)
    Stall,               // send the headers, then nothing (until the server stops)
  };
  Kind kind;
  int64_t value = 0;
  std::string body;
  int64_t retryAfter = -1;  // Status: a Retry-After header in seconds when >= 0

  static HttpFault CutAfter(int64_t bytes) { return {Kind::CutAfter, bytes, {}}; }
  static HttpFault Chunked() { return {Kind::Chunked, 0, {}}; }
  static HttpFault CloseDelimited(int64_t cutAfter = 0) { return {Kind::CloseDelimited, cutAfter, {}}; }
  static HttpFault AnnounceLength(int64_t bytes) { return {Kind::AnnounceLength, bytes, {}}; }
  static HttpFault Status(int code, std::string page, int64_t retryAfter = -1) {
    return {Kind::Status, code, std::move(page), retryAfter};
  }
  static HttpFault IgnoreRange() { return {Kind::IgnoreRange, 0, {}}; }
  static HttpFault RangeNotSatisfiable() { return {Kind::RangeNotSatisfiable, 0, {}}; }
  static HttpFault ContentRangeFrom(int64_t offset) { return {Kind::ContentRangeFrom, offset, {}}; }
  static HttpFault Endless() { return {Kind::Endless, 0, {}}; }
  static HttpFault Stall() { return {Kind::Stall, 0, {}}; }
};

struct RecordedRequest {
  std::string method;
  std::string target;   // path and query as requested
  std::string version;  // "HTTP/1.0", "HTTP/1.1"
  std::multimap<std::string, std::string> headers;  // names as sent

  // The first value of a header (name compared without letter case), "" if absent.
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
};

class HttpTestServer {
 public:
  enum class Transport { Http, Https };

  // Starts serving `folder` (may be empty: in-memory files only).
  explicit HttpTestServer(std::filesystem::path folder = {}, Transport transport = Transport::Http);
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  int Port() const;
  // "http://127.0.0.1:<port>" (https for TLS) followed by `path` (which starts with "/").
  std::string Url(std::string_view path) const;
  // PEM file of the server's certificate (TLS only), for clients to trust.
  std::string CertificateFile() const;

  // Serves `body` at `path`, taking precedence over the folder.
  void Serve(const std::string& path, std::string body);
  // Serves `size` bytes of the test pattern (support/test_data.h) from
  // `seed`, made as they are sent: bodies larger than memory.
  void ServeGenerated(const std::string& path, int64_t size, uint8_t seed);
  // The next `times` responses for `path` get the fault (times < 0: all of them).
  void QueueFault(const std::string& path, HttpFault fault, int times = 1);

  std::vector<RecordedRequest> Requests() const;
  std::vector<RecordedRequest> RequestsFor(std::string_view target) const;

  // Stops listening and ends open responses (stalled and endless ones too).
  void Stop();

 private:
  struct State;
  std::shared_ptr<State> state_;
};

// Sets SSL_CERT_FILE for its lifetime (clients then trust that certificate
// file instead of the system's) and restores the previous value.
class TrustedCertificates {
 public:
  explicit TrustedCertificates(const std::string& pemFile);
  ~TrustedCertificates();
  TrustedCertificates(const TrustedCertificates&) = delete;
  TrustedCertificates& operator=(const TrustedCertificates&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace vlmr::test
