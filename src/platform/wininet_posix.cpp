#include "platform/wininet.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "platform/http.h"

namespace vlmr::platform::win {
namespace {

enum class HandleKind { Internet, Connection, Request };

// Settings a handle may set for itself and the handles below it; unset ones
// come from the nearest ancestor that set them.
struct Settings {
  std::optional<ProxyMode> proxyMode;
  std::optional<std::string> proxy;
  std::optional<std::string> proxyUser;
  std::optional<std::string> proxyPassword;
  std::optional<std::chrono::milliseconds> connectTimeout;
  std::optional<std::chrono::milliseconds> receiveTimeout;
};

struct Handle {
  explicit Handle(HandleKind k) : kind(k) {}
  HandleKind kind;
  Handle* parent = nullptr;
  std::vector<Handle*> children;
  Settings settings;

  std::string agent;                        // root
  std::string host, user, password;         // connection
  uint16_t port = 0;
  std::string verb, object;                 // request
  bool http10 = false;
  uint32_t flags = 0;
  std::vector<std::string> headers;
  std::unique_ptr<HttpTransfer> transfer;
};

std::mutex g_mutex;
std::unordered_set<Handle*> g_handles;
thread_local uint32_t t_lastError = 0;

uint32_t ErrorCodeOf(HttpFailure failure) {
  switch (failure) {
    case HttpFailure::NameNotResolved: return kErrorNameNotResolved;
    case HttpFailure::CannotConnect: return kErrorCannotConnect;
    case HttpFailure::ConnectionReset: return kErrorConnectionReset;
    case HttpFailure::TimedOut: return kErrorTimeout;
    case HttpFailure::Secure: return kErrorSecureFailure;
    default: return kErrorInternal;
  }
}

// Sends the request of a handle; the failure's code is kept for LastInternetError.
std::unique_ptr<HttpTransfer> Send(const HttpRequest& request) {
  HttpFailure failure = HttpFailure::None;
  std::unique_ptr<HttpTransfer> transfer = HttpTransfer::Open(request, nullptr, &failure);
  t_lastError = transfer ? 0 : ErrorCodeOf(failure);
  return transfer;
}

Handle* NewHandle(HandleKind kind, Handle* parent) {
  auto* h = new Handle(kind);
  h->parent = parent;
  std::lock_guard lock(g_mutex);
  if (parent) parent->children.push_back(h);
  g_handles.insert(h);
  return h;
}

Handle* Find(void* p, HandleKind kind) {
  std::lock_guard lock(g_mutex);
  auto* h = static_cast<Handle*>(p);
  return g_handles.count(h) && h->kind == kind ? h : nullptr;
}

void DestroyLocked(Handle* h) {
  for (Handle* child : h->children) {
    child->parent = nullptr;
    DestroyLocked(child);
  }
  g_handles.erase(h);
  delete h;
}

const Handle* Root(const Handle* h) {
  while (h->parent) h = h->parent;
  return h;
}

template <typename T>
T Inherited(const Handle* h, std::optional<T> Settings::*field, T fallback) {
  for (; h; h = h->parent)
    if (h->settings.*field) return *(h->settings.*field);
  return fallback;
}

ProxyMode ProxyModeFor(uint32_t accessType, const char* proxy) {
  switch (accessType) {
    case kOpenTypeDirect:
      return ProxyMode::Direct;
    case kOpenTypeProxy:
      return proxy && *proxy ? ProxyMode::Named : ProxyMode::Direct;
    default:
      return ProxyMode::Environment;
  }
}

std::string TextOf(const char* s) { return s ? s : ""; }

// Header lines of a "\r\n"-separated block; empty lines are dropped.
std::vector<std::string> HeaderLines(const char* text, uint32_t length) {
  std::vector<std::string> lines;
  if (!text) return lines;
  std::string_view block(text, length == 0xFFFFFFFF ? std::strlen(text) : length);
  while (!block.empty()) {
    size_t end = block.find('\n');
    std::string_view line = block.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) lines.emplace_back(line);
    block.remove_prefix(end == std::string_view::npos ? block.size() : end + 1);
  }
  return lines;
}

std::string Trimmed(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

HttpRequest RequestFor(const Handle* h, std::string url) {
  HttpRequest r;
  r.url = std::move(url);
  r.method = h->verb.empty() ? "GET" : h->verb;
  r.userAgent = Root(h)->agent;
  r.http10 = h->http10;
  r.headers = h->headers;
  if (h->flags & kFlagPragmaNoCache) r.headers.insert(r.headers.begin(), "Pragma: no-cache");
  r.proxyMode = Inherited(h, &Settings::proxyMode, ProxyMode::Environment);
  r.proxy = Inherited(h, &Settings::proxy, std::string());
  r.proxyUser = Inherited(h, &Settings::proxyUser, std::string());
  r.proxyPassword = Inherited(h, &Settings::proxyPassword, std::string());
  r.connectTimeout = Inherited(h, &Settings::connectTimeout, r.connectTimeout);
  r.stallTimeout = Inherited(h, &Settings::receiveTimeout, r.stallTimeout);
  if (h->parent && h->parent->kind == HandleKind::Connection) {
    r.user = h->parent->user;
    r.password = h->parent->password;
  }
  return r;
}

bool EnvironmentNamesProxy() {
  for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "HTTPS_PROXY", "ALL_PROXY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

bool NetworkInterfaceUp() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  bool up = false;
  for (ifaddrs* i = list; i && !up; i = i->ifa_next) {
    unsigned flags = i->ifa_flags;
    up = i->ifa_addr && (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
  }
  freeifaddrs(list);
  return up;
}

std::optional<std::string> QueriedValue(const HttpTransfer& t, uint32_t level) {
  switch (level) {
    case kQueryRetryAfter:
      return t.Header("Retry-After");
    case kQueryContentLength:
      return t.Header("Content-Length");
    case kQueryContentRange:
      return t.Header("Content-Range");
    case kQueryStatusCode:
      return std::to_string(t.Status());
    default:
      return std::nullopt;
  }
}

std::string HostForUrl(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

int32_t InternetGetConnectedState(uint32_t* flags, uint32_t) {
  bool connected = NetworkInterfaceUp();
  uint32_t result = connected ? kConnectionLan | kConnectionConfigured : 0;
  if (EnvironmentNamesProxy()) result |= kConnectionProxy;
  if (flags) *flags = result;
  return connected ? 1 : 0;
}

void* InternetOpenA(const char* agent, uint32_t accessType, const char* proxy, const char*,
                    uint32_t) {
  Handle* h = NewHandle(HandleKind::Internet, nullptr);
  h->agent = TextOf(agent);
  h->settings.proxyMode = ProxyModeFor(accessType, proxy);
  h->settings.proxy = TextOf(proxy);
  return h;
}

void* InternetOpenUrlA(void* internet, const char* url, const char* headers,
                       uint32_t headersLength, uint32_t flags, uintptr_t) {
  Handle* root = Find(internet, HandleKind::Internet);
  if (!root || !url) return nullptr;
  std::optional<UrlParts> parts = CrackUrl(url);
  if (!parts || (parts->scheme != kSchemeHttp && parts->scheme != kSchemeHttps)) return nullptr;
  Handle* h = NewHandle(HandleKind::Request, root);
  h->flags = flags;
  h->headers = HeaderLines(headers, headersLength);
  h->transfer = Send(RequestFor(h, url));
  if (!h->transfer) {
    InternetCloseHandle(h);
    return nullptr;
  }
  return h;
}

void* InternetConnectA(void* internet, const char* server, uint16_t port, const char* user,
                       const char* password, uint32_t service, uint32_t, uintptr_t) {
  Handle* root = Find(internet, HandleKind::Internet);
  if (!root || !server || !*server || service != kServiceHttp) return nullptr;
  Handle* h = NewHandle(HandleKind::Connection, root);
  h->host = server;
  h->port = port;
  h->user = TextOf(user);
  h->password = TextOf(password);
  return h;
}

void* HttpOpenRequestA(void* connection, const char* verb, const char* object,
                       const char* version, const char*, const char** acceptTypes,
                       uint32_t flags, uintptr_t) {
  Handle* c = Find(connection, HandleKind::Connection);
  if (!c) return nullptr;
  Handle* h = NewHandle(HandleKind::Request, c);
  h->verb = verb && *verb ? verb : "GET";
  h->object = TextOf(object);
  h->http10 = version && std::strcmp(version, "HTTP/1.0") == 0;
  h->flags = flags;
  std::string accept;
  for (const char** type = acceptTypes; type && *type; ++type) {
    std::string t = Trimmed(*type);
    if (t.empty()) continue;
    accept += (accept.empty() ? "" : ", ") + t;
  }
  if (!accept.empty()) h->headers.push_back("Accept: " + accept);
  return h;
}

int32_t HttpSendRequestA(void* request, const char* headers, uint32_t headersLength,
                         void* optional, uint32_t optionalLength) {
  Handle* h = Find(request, HandleKind::Request);
  if (!h || !h->parent || h->transfer || (optional && optionalLength > 0)) return 0;
  const Handle* c = h->parent;
  bool secure = (h->flags & kFlagSecure) != 0;
  uint16_t port = c->port ? c->port : (secure ? 443 : 80);
  std::string path = h->object.empty() || h->object.front() != '/' ? "/" + h->object : h->object;
  std::string url = (secure ? "https://" : "http://") + HostForUrl(c->host) + ":" +
                    std::to_string(port) + path;
  for (std::string& line : HeaderLines(headers, headersLength)) h->headers.push_back(std::move(line));
  h->transfer = Send(RequestFor(h, url));
  return h->transfer ? 1 : 0;
}

int32_t HttpQueryInfoA(void* request, uint32_t infoLevel, void* buffer, uint32_t* bufferLength,
                       uint32_t* index) {
  Handle* h = Find(request, HandleKind::Request);
  if (!h || !h->transfer || !buffer || !bufferLength || (index && *index != 0)) return 0;
  if (infoLevel & ~(kQueryFlagNumber | 0xFFFF)) return 0;  // request headers, dates
  std::optional<std::string> value = QueriedValue(*h->transfer, infoLevel & 0xFFFF);
  if (!value) return 0;
  if (infoLevel & kQueryFlagNumber) {
    if (*bufferLength < sizeof(uint32_t)) {
      *bufferLength = sizeof(uint32_t);
      return 0;
    }
    auto number = static_cast<uint32_t>(std::strtoull(value->c_str(), nullptr, 10));
    std::memcpy(buffer, &number, sizeof number);
    *bufferLength = sizeof number;
  } else {
    if (*bufferLength < value->size() + 1) {
      *bufferLength = static_cast<uint32_t>(value->size() + 1);
      return 0;
    }
    std::memcpy(buffer, value->c_str(), value->size() + 1);
    *bufferLength = static_cast<uint32_t>(value->size());
  }
  if (index) *index = 1;
  return 1;
}

int32_t InternetReadFile(void* file, void* buffer, uint32_t toRead, uint32_t* read) {
  Handle* h = Find(file, HandleKind::Request);
  if (read) *read = 0;
  if (!h || !h->transfer || !read || (!buffer && toRead > 0)) return 0;
  int64_t n = h->transfer->Read(buffer, toRead);
  if (n < 0) {
    t_lastError = kErrorConnectionReset;
    return 0;
  }
  *read = static_cast<uint32_t>(n);
  return 1;
}

int32_t InternetSetOptionA(void* internet, uint32_t option, void* buffer, uint32_t bufferLength) {
  Handle* h = nullptr;
  for (HandleKind kind : {HandleKind::Internet, HandleKind::Connection, HandleKind::Request})
    if (!h) h = Find(internet, kind);
  if (!h || !buffer) return 0;
  Settings& s = h->settings;
  auto milliseconds = [&]() -> std::optional<std::chrono::milliseconds> {
    if (bufferLength < sizeof(uint32_t)) return std::nullopt;
    uint32_t ms;
    std::memcpy(&ms, buffer, sizeof ms);
    return std::chrono::milliseconds(ms);
  };
  switch (option) {
    case kOptionConnectTimeout:
      s.connectTimeout = milliseconds();
      return s.connectTimeout ? 1 : 0;
    case kOptionReceiveTimeout:
      s.receiveTimeout = milliseconds();
      return s.receiveTimeout ? 1 : 0;
    case kOptionProxy: {
      if (bufferLength < sizeof(InternetProxyInfo)) return 0;
      const auto* info = static_cast<const InternetProxyInfo*>(buffer);
      s.proxyMode = ProxyModeFor(info->accessType, info->proxy);
      s.proxy = TextOf(info->proxy);
      return 1;
    }
    case kOptionProxyUsername:
      s.proxyUser = std::string(static_cast<const char*>(buffer), strnlen(static_cast<const char*>(buffer), bufferLength));
      return 1;
    case kOptionProxyPassword:
      s.proxyPassword = std::string(static_cast<const char*>(buffer), strnlen(static_cast<const char*>(buffer), bufferLength));
      return 1;
    default:
      return 0;
  }
}

int32_t InternetCloseHandle(void* internet) {
  std::lock_guard lock(g_mutex);
  auto* h = static_cast<Handle*>(internet);
  if (!g_handles.count(h)) return 0;
  if (h->parent) std::erase(h->parent->children, h);
  DestroyLocked(h);
  return 1;
}

uint32_t LastInternetError() { return t_lastError; }

}  // namespace vlmr::platform::win
