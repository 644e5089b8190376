#include "support/http_test_server.h"

#include <httplib.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>
#include <strings.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <thread>

#include "support/temp_dir.h"
#include "support/test_data.h"

namespace vlmr::test {
namespace {

constexpr size_t kWriteBlock = 64 * 1024;
constexpr int64_t kEndlessLimit = int64_t{4} << 30;  // even "endless" stops somewhere
constexpr auto kStallLimit = std::chrono::seconds(60);
const char* const kContentType = "application/octet-stream";

struct ByteRange {
  int64_t first;
  int64_t last;  // -1: to the end
};

// "bytes=A-" or "bytes=A-B"; anything else is not a range this server answers.
std::optional<ByteRange> ParseRange(const std::string& header) {
  std::string_view v = header;
  while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
  if (!v.starts_with("bytes=")) return std::nullopt;
  v.remove_prefix(6);
  size_t dash = v.find('-');
  if (dash == 0 || dash == std::string_view::npos) return std::nullopt;
  try {
    ByteRange r{std::stoll(std::string(v.substr(0, dash))), -1};
    if (dash + 1 < v.size()) r.last = std::stoll(std::string(v.substr(dash + 1)));
    return r;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// A body the server sends: held in memory or made as it is sent.
struct Body {
  int64_t size;
  std::function<void(int64_t offset, char* out, size_t n)> fill;

  static std::shared_ptr<const Body> Held(std::string bytes) {
    auto held = std::make_shared<const std::string>(std::move(bytes));
    return std::make_shared<const Body>(Body{static_cast<int64_t>(held->size()),
                                             [held](int64_t offset, char* out, size_t n) {
                                               std::memcpy(out, held->data() + offset, n);
                                             }});
  }
};

// A self-signed certificate for 127.0.0.1 and its key, written as PEM to a
// temporary folder so clients can trust it.
struct TlsIdentity {
  EVP_PKEY* key = nullptr;
  X509* certificate = nullptr;
  TempDir folder;

  TlsIdentity() {
    key = EVP_EC_gen("P-256");
    certificate = X509_new();
    X509_set_version(certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 86400);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(certificate, name);
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    AddExtension(&context, NID_subject_alt_name, "IP:127.0.0.1");
    AddExtension(&context, NID_basic_constraints, "critical,CA:TRUE");
    X509_sign(certificate, key, EVP_sha256());
    FILE* pem = std::fopen(CertificateFile().c_str(), "w");
    if (!pem || !PEM_write_X509(pem, certificate)) throw std::runtime_error("cannot write the certificate");
    std::fclose(pem);
  }
  ~TlsIdentity() {
    X509_free(certificate);
    EVP_PKEY_free(key);
  }
  void AddExtension(X509V3_CTX* context, int nid, const char* value) {
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, context, nid, value);
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
  }
  std::string CertificateFile() const { return (folder.path() / "server.pem").string(); }
};

}  // namespace

struct HttpTestServer::State {
  explicit State(HttpTestServer::Transport transport)
      : tls(transport == HttpTestServer::Transport::Https ? std::make_unique<TlsIdentity>() : nullptr),
        owned(tls ? std::make_unique<httplib::SSLServer>(tls->certificate, tls->key)
                  : std::make_unique<httplib::Server>()),
        server(*owned) {}

  struct QueuedFault {
    HttpFault fault;
    int remaining;  // < 0: forever
  };

  std::unique_ptr<TlsIdentity> tls;
  std::unique_ptr<httplib::Server> owned;
  httplib::Server& server;
  std::thread thread;
  int port = 0;
  std::filesystem::path folder;

  mutable std::mutex mutex;
  std::map<std::string, std::shared_ptr<const Body>> files;
  std::map<std::string, std::deque<QueuedFault>> faults;
  std::vector<RecordedRequest> requests;

  std::atomic<bool> stopping{false};
  std::mutex stopMutex;
  std::condition_variable stopSignal;

  void Record(const httplib::Request& req) {
    RecordedRequest r{req.method, req.target, req.version, {}};
    for (const auto& [key, value] : req.headers) r.headers.emplace(key, value);
    std::lock_guard lock(mutex);
    requests.push_back(std::move(r));
  }

  std::optional<HttpFault> TakeFault(const std::string& path) {
    std::lock_guard lock(mutex);
    auto it = faults.find(path);
    if (it == faults.end() || it->second.empty()) return std::nullopt;
    QueuedFault& front = it->second.front();
    HttpFault fault = front.fault;
    if (front.remaining > 0 && --front.remaining == 0) it->second.pop_front();
    return fault;
  }

  std::shared_ptr<const Body> Lookup(const std::string& path) {
    {
      std::lock_guard lock(mutex);
      auto it = files.find(path);
      if (it != files.end()) return it->second;
    }
    if (folder.empty() || path.find("..") != std::string::npos) return nullptr;
    std::filesystem::path file = folder / std::filesystem::path(path).relative_path();
    if (!std::filesystem::is_regular_file(file)) return nullptr;
    return Body::Held(ReadFileBytes(file));
  }

  // Waits until the server stops (or a minute passes).
  void WaitForStop() {
    std::unique_lock lock(stopMutex);
    stopSignal.wait_for(lock, kStallLimit, [this] { return stopping.load(); });
  }

  void Handle(const httplib::Request& req, httplib::Response& res) {
    Record(req);
    // httplib would cut ranged bodies by itself; this server answers ranges
    // (and breaks them on purpose) on its own.
    const_cast<httplib::Request&>(req).ranges.clear();
    std::optional<HttpFault> fault = TakeFault(req.path);
    auto is = [&](HttpFault::Kind k) { return fault && fault->kind == k; };

    if (is(HttpFault::Kind::Status)) {
      res.status = static_cast<int>(fault->value);
      if (fault->retryAfter >= 0) res.set_header("Retry-After", std::to_string(fault->retryAfter));
      res.set_content(fault->body, "text/html");
      return;
    }
    if (is(HttpFault::Kind::Endless)) return SendEndless(res);
    std::shared_ptr<const Body> body = Lookup(req.path);
    if (!body) {
      res.status = 404;
      res.set_content("not found", "text/plain");
      return;
    }
    int64_t size = body->size;
    int64_t from = 0;
    int64_t to = size;  // exclusive
    res.status = 200;
    std::optional<ByteRange> range = ParseRange(req.get_header_value("Range"));
    if (range && !is(HttpFault::Kind::IgnoreRange)) {
      if (is(HttpFault::Kind::RangeNotSatisfiable) || range->first >= size) {
        res.status = 416;
        res.set_header("Content-Range", "bytes */" + std::to_string(size));
        return;
      }
      from = is(HttpFault::Kind::ContentRangeFrom) ? std::min(fault->value, size) : range->first;
      if (range->last >= 0) to = std::min(size, std::max(from, range->last + 1));
      res.status = 206;
      res.set_header("Content-Range", "bytes " + std::to_string(from) + "-" +
                                          std::to_string(to - 1) + "/" + std::to_string(size));
    }
    SendBody(res, body, from, to - from, fault);
  }

  // Writes body bytes [from + offset, from + offset + n) to the sink.
  static bool Write(const Body& body, int64_t from, size_t offset, size_t n, httplib::DataSink& sink) {
    thread_local std::string block;
    block.resize(n);
    body.fill(from + static_cast<int64_t>(offset), block.data(), n);
    return sink.write(block.data(), n);
  }

  void SendBody(httplib::Response& res, std::shared_ptr<const Body> body, int64_t from,
                int64_t length, const std::optional<HttpFault>& fault) {
    using Kind = HttpFault::Kind;
    Kind kind = fault ? fault->kind : Kind::IgnoreRange;  // the kinds below change the body
    switch (kind) {
      case Kind::CutAfter: {
        size_t cut = static_cast<size_t>(std::clamp<int64_t>(fault->value, 0, length));
        res.set_content_provider(static_cast<size_t>(length), kContentType,
                                 [body, from, cut](size_t offset, size_t, httplib::DataSink& sink) {
                                   if (offset >= cut) return false;
                                   return Write(*body, from, offset, std::min(kWriteBlock, cut - offset), sink);
                                 });
        return;
      }
      case Kind::AnnounceLength: {
        size_t real = static_cast<size_t>(length);
        res.set_content_provider(static_cast<size_t>(fault->value), kContentType,
                                 [body, from, real](size_t offset, size_t, httplib::DataSink& sink) {
                                   if (offset != 0) return false;
                                   Write(*body, from, 0, real, sink);
                                   return false;  // then close, whatever was announced
                                 });
        return;
      }
      case Kind::Chunked:
      case Kind::CloseDelimited: {
        bool chunked = kind == Kind::Chunked;
        size_t total = static_cast<size_t>(!chunked && fault->value > 0 ? std::min(fault->value, length) : length);
        auto provider = [body, from, total, chunked](size_t offset, httplib::DataSink& sink) {
          if (offset < total) return Write(*body, from, offset, std::min(kWriteBlock, total - offset), sink);
          if (!chunked) return false;  // closing the connection is what ends this body
          sink.done();
          return true;
        };
        if (chunked) {
          res.set_chunked_content_provider(kContentType, provider);
        } else {
          res.set_header("Connection", "close");
          res.set_content_provider(kContentType, provider);
        }
        return;
      }
      case Kind::Stall:
        res.set_content_provider(static_cast<size_t>(length), kContentType,
                                 [this](size_t, size_t, httplib::DataSink&) {
                                   WaitForStop();
                                   return false;
                                 });
        return;
      default:  // no fault, or one that only changed the status or range
        if (length == 0) {
          res.set_content(std::string(), kContentType);  // a provider would send no Content-Length
          return;
        }
        res.set_content_provider(static_cast<size_t>(length), kContentType,
                                 [body, from](size_t offset, size_t wanted, httplib::DataSink& sink) {
                                   return Write(*body, from, offset, std::min(kWriteBlock, wanted), sink);
                                 });
        return;
    }
  }

  void SendEndless(httplib::Response& res) {
    res.status = 200;
    res.set_content_provider(kContentType, [this](size_t offset, httplib::DataSink& sink) {
      static const std::string block(kWriteBlock, 'x');
      if (stopping || static_cast<int64_t>(offset) >= kEndlessLimit) return false;
      return sink.write(block.data(), block.size());
    });
  }
};

HttpTestServer::HttpTestServer(std::filesystem::path folder, Transport transport)
    : state_(std::make_shared<State>(transport)) {
  state_->folder = std::move(folder);
  State* s = state_.get();
  s->server.Get(".*", [s](const httplib::Request& req, httplib::Response& res) { s->Handle(req, res); });
  // One request per connection: a client's idle kept-alive connection would
  // otherwise hold Stop for the server's keep-alive time-out.
  s->server.set_keep_alive_max_count(1);
  s->port = s->server.bind_to_any_port("127.0.0.1");
  if (s->port <= 0) throw std::runtime_error("the test HTTP server could not bind 127.0.0.1");
  s->thread = std::thread([s] { s->server.listen_after_bind(); });
  while (!s->server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

HttpTestServer::~HttpTestServer() { Stop(); }

void HttpTestServer::Stop() {
  State* s = state_.get();
  {
    std::lock_guard lock(s->stopMutex);
    s->stopping = true;
  }
  s->stopSignal.notify_all();
  s->server.stop();
  if (s->thread.joinable()) s->thread.join();
}

int HttpTestServer::Port() const { return state_->port; }

std::string HttpTestServer::Url(std::string_view path) const {
  return (state_->tls ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(state_->port) +
         std::string(path);
}

std::string HttpTestServer::CertificateFile() const {
  return state_->tls ? state_->tls->CertificateFile() : std::string();
}

void HttpTestServer::Serve(const std::string& path, std::string body) {
  std::lock_guard lock(state_->mutex);
  state_->files[path] = Body::Held(std::move(body));
}

void HttpTestServer::ServeGenerated(const std::string& path, int64_t size, uint8_t seed) {
  std::lock_guard lock(state_->mutex);
  state_->files[path] = std::make_shared<const Body>(Body{
      size, [seed](int64_t offset, char* out, size_t n) {
        FillTestBytes(out, n, static_cast<uint64_t>(offset), seed);
      }});
}

void HttpTestServer::QueueFault(const std::string& path, HttpFault fault, int times) {
  if (times == 0) return;
  std::lock_guard lock(state_->mutex);
  state_->faults[path].push_back({std::move(fault), times < 0 ? -1 : times});
}

std::vector<RecordedRequest> HttpTestServer::Requests() const {
  std::lock_guard lock(state_->mutex);
  return state_->requests;
}

}  // namespace vlmr::test
