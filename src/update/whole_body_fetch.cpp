#include "update/whole_body_fetch.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/wininet.h"
#include "runtime/runtime_frame.h"
#include "update/update_log.h"

namespace vlmr::update {
namespace {

namespace win = platform::win;

constexpr uint32_t kRequestFlags = win::kFlagReload | win::kFlagNoCacheWrite;
constexpr uint32_t kContentLengthBufferBytes = 32;

// The internet root handle, opened on the first fetch and kept until the
// process ends. It is deliberately not closed by the end-of-program cleanup:
// closing the window ends the process while the worker may be inside a fetch
// on this root, and closing it then would free the transfer under the worker.
// The launcher configures no proxy of its own: the root starts direct and is
// then switched to the preconfigured (environment) proxies.
std::mutex g_rootMutex;
void* g_root = nullptr;

void* Root() {
  std::lock_guard lock(g_rootMutex);
  if (!g_root) g_root = win::InternetOpenA(kFetchAgent, win::kOpenTypeDirect, nullptr, nullptr, 0);
  return g_root;
}

void ApplyProxyOptions(void* root, void* connection) {
  win::InternetProxyInfo info{win::kOpenTypePreconfig, nullptr, nullptr};
  win::InternetSetOptionA(root, win::kOptionProxy, &info, sizeof info);
  char empty[] = "";
  win::InternetSetOptionA(connection, win::kOptionProxyUsername, empty, sizeof empty);
  win::InternetSetOptionA(connection, win::kOptionProxyPassword, empty, sizeof empty);
}

int32_t ChunkSizeOf(void* request) {
  char text[kContentLengthBufferBytes] = {};
  uint32_t length = sizeof text;
  if (!win::HttpQueryInfoA(request, win::kQueryContentLength, text, &length, nullptr))
    return FetchChunkSize(std::nullopt);
  return FetchChunkSize(std::string_view(text, length));
}

std::optional<uint32_t> StatusOf(void* request) {
  uint32_t status = 0;
  uint32_t size = sizeof status;
  if (!win::HttpQueryInfoA(request, win::kQueryStatusCode | win::kQueryFlagNumber, &status, &size, nullptr))
    return std::nullopt;
  return status;
}

// The body of an open request, or empty when a read fails before anything
// arrived or the body outgrows kMaxWholeBody.
std::vector<uint8_t> ReadBody(void* request) {
  std::vector<uint8_t> body;
  std::vector<uint8_t> chunk(static_cast<size_t>(ChunkSizeOf(request)));
  for (;;) {
    uint32_t read = 0;
    if (!win::InternetReadFile(request, chunk.data(), static_cast<uint32_t>(chunk.size()), &read) ||
        read == 0)
      return body;
    if (static_cast<int64_t>(body.size() + read) > kMaxWholeBody) return {};
    body.insert(body.end(), chunk.begin(), chunk.begin() + read);
  }
}

std::vector<uint8_t> Fetch(const char* url) {
  if (!url || !*url) return {};
  std::string address(url);
  address = address.substr(0, address.find('#'));
  std::optional<win::UrlParts> parts = win::CrackUrl(address);
  if (!parts || (parts->scheme != win::kSchemeHttp && parts->scheme != win::kSchemeHttps)) return {};
  uint32_t flags = kRequestFlags | (parts->scheme == win::kSchemeHttps ? win::kFlagSecure : 0);

  void* root = Root();
  if (!root) return {};
  void* connection = win::InternetConnectA(root, parts->host.c_str(), parts->port, parts->user.c_str(),
                                           parts->password.c_str(), win::kServiceHttp, 0, 0);
  if (!connection) return {};
  ApplyProxyOptions(root, connection);
  std::string path = parts->path.substr(0, parts->path.find('#'));
  const char* acceptTypes[] = {"Accept: */* \r\n", nullptr};
  void* request = win::HttpOpenRequestA(connection, "GET", path.c_str(), "HTTP/1.0", nullptr,
                                        acceptTypes, flags, 0);
  std::vector<uint8_t> body;
  std::optional<uint32_t> status;
  const char* headers = "Accept: */*\r\n\r\n";
  if (request && win::HttpSendRequestA(request, headers, static_cast<uint32_t>(std::strlen(headers)),
                                       nullptr, 0)) {
    status = StatusOf(request);
    body = ReadBody(request);
  }
  LogFetch(address, status, body.size());
  if (request) win::InternetCloseHandle(request);
  win::InternetCloseHandle(connection);
  return body;
}

}  // namespace

int32_t FetchChunkSize(std::optional<std::string_view> contentLength) {
  if (!contentLength) return kDefaultFetchChunk;
  double length = std::strtod(std::string(*contentLength).c_str(), nullptr);
  if (!(length > 0)) return kDefaultFetchChunk;
  return length + 1 >= kMaxFetchChunk ? kMaxFetchChunk : static_cast<int32_t>(length) + 1;
}

void WholeBodyFetchCommand(rt::RtValue* result, int32_t count, rt::RtValue* args) {
  const char* url = count >= 1 ? args[0].AsPointer<const char>() : nullptr;
  std::vector<uint8_t> body = Fetch(url);
  *result = rt::RtValue::Bytes(rt::NewByteArray(body.data(), static_cast<int64_t>(body.size())));
}

rt::Bytes FetchWholeBody(const char* url) {
  rt::RtValue arg = rt::RtValue::Text(url);
  rt::RtValue r = rt::call_library_command(kUpdateLibrary, &WholeBodyFetchCommand, 1, &arg);
  return rt::Bytes(r.AsPointer<uint8_t>());
}

}  // namespace vlmr::update
