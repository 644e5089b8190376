#include "platform/http.h"

#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

namespace vlmr::platform {
namespace {

// The body is buffered between libcurl's callbacks and the caller's reads; once
// this much waits unread, the transfer pauses until the caller catches up.
constexpr size_t kPauseThreshold = 512 * 1024;
constexpr long kCurlBufferSize = 128 * 1024;
constexpr long kMaxRedirects = 10;

void InitialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string_view HeaderName(std::string_view line) {
  size_t colon = line.find(':');
  return Trim(colon == std::string_view::npos ? line : line.substr(0, colon));
}

// Header lines with later lines replacing earlier ones of the same name.
std::vector<std::string> MergeHeaders(const std::vector<std::string>& lines) {
  std::vector<std::string> merged;
  for (const std::string& line : lines) {
    std::string_view name = HeaderName(line);
    if (name.empty()) continue;
    auto same = [&](const std::string& m) { return SameName(HeaderName(m), name); };
    merged.erase(std::remove_if(merged.begin(), merged.end(), same), merged.end());
    merged.push_back(line);
  }
  return merged;
}

// Bytes a URL may not carry as they are (blanks, controls, non-ASCII bytes such
// as those of GBK file names) are percent-encoded; everything else, '%'
// included, is sent as written.
std::string EscapedUrl(std::string_view url) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : url) {
    if (c <= 0x20 || c >= 0x7F || std::strchr("\"<>\\^`{|}", c)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool IsFollowedRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

HttpFailure FailureOf(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return HttpFailure::NameNotResolved;
    case CURLE_COULDNT_CONNECT: return HttpFailure::CannotConnect;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING: return HttpFailure::ConnectionReset;
    case CURLE_OPERATION_TIMEDOUT: return HttpFailure::TimedOut;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE: return HttpFailure::Secure;
    default: return HttpFailure::Other;
  }
}

}  // namespace

struct HttpTransfer::Impl {
  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  curl_slist* headerList = nullptr;
  std::string url;
  char errorBuffer[CURL_ERROR_SIZE] = {};

  // Unread body bytes are body[bodyStart, body.size()).
  std::vector<char> body;
  size_t bodyStart = 0;
  bool paused = false;
  uint64_t callbacks = 0;  // counts callback activity, to know when to wait

  int status = 0;
  std::vector<std::pair<std::string, std::string>> responseHeaders;
  bool headersComplete = false;

  bool done = false;
  CURLcode result = CURLE_OK;
  std::string error;

  ~Impl() {
    if (multi && easy) curl_multi_remove_handle(multi, easy);
    if (easy) curl_easy_cleanup(easy);
    if (multi) curl_multi_cleanup(multi);
    curl_slist_free_all(headerList);
  }

  size_t Buffered() const { return body.size() - bodyStart; }

  void Append(const char* data, size_t n) {
    if (bodyStart > 0 && bodyStart >= body.size() / 2) {
      body.erase(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(bodyStart));
      bodyStart = 0;
    }
    body.insert(body.end(), data, data + n);
  }

  size_t Take(char* out, size_t n) {
    size_t count = std::min(n, Buffered());
    if (count == 0) return 0;  // an empty buffer may have no storage at all
    std::memcpy(out, body.data() + bodyStart, count);
    bodyStart += count;
    if (bodyStart == body.size()) {
      body.clear();
      bodyStart = 0;
    }
    return count;
  }

  std::optional<std::string> FindHeader(std::string_view name) const {
    for (const auto& [key, value] : responseHeaders)
      if (SameName(key, name)) return value;
    return std::nullopt;
  }

  void OnHeaderLine(std::string_view line) {
    if (headersComplete) return;  // trailers after a chunked body
    line = Trim(line);
    if (line.starts_with("HTTP/")) {
      responseHeaders.clear();
      size_t space = line.find(' ');
      status = space == std::string_view::npos ? 0 : std::atoi(std::string(line.substr(space + 1)).c_str());
    } else if (line.empty()) {
      bool redirected = IsFollowedRedirect(status) && FindHeader("Location");
      headersComplete = status >= 200 && !redirected;
    } else {
      size_t colon = line.find(':');
      if (colon == std::string_view::npos) return;
      responseHeaders.emplace_back(std::string(Trim(line.substr(0, colon))),
                                   std::string(Trim(line.substr(colon + 1))));
    }
  }

  static size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Impl*>(user);
    ++self->callbacks;
    self->OnHeaderLine({data, size * count});
    return size * count;
  }

  static size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Impl*>(user);
    ++self->callbacks;
    if (self->Buffered() >= kPauseThreshold) {
      self->paused = true;
      return CURL_WRITEFUNC_PAUSE;
    }
    self->Append(data, size * count);
    return size * count;
  }

  void CollectFinished() {
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
      if (msg->msg != CURLMSG_DONE) continue;
      done = true;
      result = msg->data.result;
      if (result != CURLE_OK)
        error = errorBuffer[0] ? errorBuffer : curl_easy_strerror(result);
    }
  }

  // One round of work: lets libcurl move the transfer on, and waits for the
  // network when nothing happened.
  void Pump() {
    if (paused && Buffered() == 0) {
      paused = false;
      curl_easy_pause(easy, CURLPAUSE_CONT);  // may deliver held data at once
    }
    uint64_t before = callbacks;
    int running = 0;
    CURLMcode code = curl_multi_perform(multi, &running);
    if (code != CURLM_OK) {
      done = true;
      result = CURLE_RECV_ERROR;
      error = curl_multi_strerror(code);
      return;
    }
    CollectFinished();
    if (!done && !paused && callbacks == before) curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
  }

  void Configure(const HttpRequest& r) {
    auto set = [this](CURLoption option, auto value) { curl_easy_setopt(easy, option, value); };
    url = EscapedUrl(r.url);
    set(CURLOPT_URL, url.c_str());
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_ERRORBUFFER, errorBuffer);
    set(CURLOPT_BUFFERSIZE, kCurlBufferSize);
    set(CURLOPT_FOLLOWLOCATION, 1L);
    set(CURLOPT_MAXREDIRS, kMaxRedirects);
    set(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    if (r.http10) set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    if (r.method == "HEAD") set(CURLOPT_NOBODY, 1L);
    else if (r.method != "GET" && !r.method.empty()) set(CURLOPT_CUSTOMREQUEST, r.method.c_str());
    if (!r.userAgent.empty()) set(CURLOPT_USERAGENT, r.userAgent.c_str());
    if (!r.user.empty()) set(CURLOPT_USERNAME, r.user.c_str());
    if (!r.password.empty()) set(CURLOPT_PASSWORD, r.password.c_str());
    ConfigureProxy(r);
    set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(r.connectTimeout.count()));
    long stallSeconds = std::max<long>(1, static_cast<long>((r.stallTimeout.count() + 999) / 1000));
    set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    set(CURLOPT_LOW_SPEED_TIME, stallSeconds);
    if (const char* certificates = std::getenv("SSL_CERT_FILE"); certificates && *certificates)
      set(CURLOPT_CAINFO, certificates);
    for (const std::string& line : MergeHeaders(r.headers))
      headerList = curl_slist_append(headerList, line.c_str());
    if (headerList) set(CURLOPT_HTTPHEADER, headerList);
    set(CURLOPT_HEADERFUNCTION, &Impl::OnHeader);
    set(CURLOPT_HEADERDATA, this);
    set(CURLOPT_WRITEFUNCTION, &Impl::OnBody);
    set(CURLOPT_WRITEDATA, this);
  }

  void ConfigureProxy(const HttpRequest& r) {
    switch (r.proxyMode) {
      case ProxyMode::Environment:
        break;
      case ProxyMode::Direct:
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
        break;
      case ProxyMode::Named:
        curl_easy_setopt(easy, CURLOPT_PROXY, r.proxy.c_str());
        if (!r.proxyUser.empty()) curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, r.proxyUser.c_str());
        if (!r.proxyPassword.empty())
          curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, r.proxyPassword.c_str());
        break;
    }
  }
};

std::unique_ptr<HttpTransfer> HttpTransfer::Open(const HttpRequest& request, std::string* error,
                                                 HttpFailure* failure) {
  InitialiseCurlOnce();
  auto impl = std::make_unique<Impl>();
  impl->multi = curl_multi_init();
  impl->easy = curl_easy_init();
  auto fail = [&](std::string why) -> std::unique_ptr<HttpTransfer> {
    if (error) *error = std::move(why);
    if (failure) *failure = impl->done ? FailureOf(impl->result) : HttpFailure::Other;
    return nullptr;
  };
  if (!impl->multi || !impl->easy) return fail("libcurl could not be initialised");
  impl->Configure(request);
  if (curl_multi_add_handle(impl->multi, impl->easy) != CURLM_OK) return fail("libcurl refused the transfer");

  while (!impl->headersComplete && !impl->done) impl->Pump();
  if (!impl->headersComplete) {
    if (impl->done && impl->result != CURLE_OK) return fail(impl->error);
    if (impl->status == 0) {
      impl->done = true;
      impl->result = CURLE_GOT_NOTHING;  // the server closed without answering
      return fail("no HTTP response");
    }
  }
  return std::unique_ptr<HttpTransfer>(new HttpTransfer(std::move(impl)));
}

HttpTransfer::HttpTransfer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
HttpTransfer::~HttpTransfer() = default;

int HttpTransfer::Status() const { return impl_->status; }

std::optional<std::string> HttpTransfer::Header(std::string_view name) const {
  return impl_->FindHeader(name);
}

int64_t HttpTransfer::Read(void* buffer, size_t n) {
  char* out = static_cast<char*>(buffer);
  size_t got = 0;
  while (got < n) {
    got += impl_->Take(out + got, n - got);
    if (got == n || impl_->done) break;
    impl_->Pump();
  }
  if (got == 0 && impl_->done && impl_->result != CURLE_OK) return -1;
  return static_cast<int64_t>(got);
}

const std::string& HttpTransfer::LastError() const { return impl_->error; }

}  // namespace vlmr::platform
