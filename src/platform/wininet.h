// WinINet-shaped functions over the HTTP transfer of http.h: the handle tree
// (internet root -> connection -> request), opening URLs, querying response
// headers and reading the body block by block. They take plain machine values
// as the launcher logic passes them (texts as GBK byte pointers, BOOL results
// as 1 or 0) so the declared-function table can point at them. Closing a
// handle closes every handle opened below it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vlmr::platform::win {

// InternetOpenA access types.
inline constexpr uint32_t kOpenTypePreconfig = 0;
inline constexpr uint32_t kOpenTypeDirect = 1;
inline constexpr uint32_t kOpenTypeProxy = 3;
inline constexpr uint32_t kOpenTypePreconfigNoAutoproxy = 4;

// InternetGetConnectedState flags.
inline constexpr uint32_t kConnectionLan = 0x02;
inline constexpr uint32_t kConnectionProxy = 0x04;
inline constexpr uint32_t kConnectionConfigured = 0x40;

// Request flags.
inline constexpr uint32_t kFlagReload = 0x80000000;
inline constexpr uint32_t kFlagNoCacheWrite = 0x04000000;
inline constexpr uint32_t kFlagSecure = 0x00800000;
inline constexpr uint32_t kFlagPragmaNoCache = 0x00000100;

inline constexpr uint32_t kServiceHttp = 3;
inline constexpr int32_t kSchemeHttp = 3;
inline constexpr int32_t kSchemeHttps = 4;

// HttpQueryInfoA levels and modifier.
inline constexpr uint32_t kQueryContentLength = 5;
inline constexpr uint32_t kQueryStatusCode = 19;
inline constexpr uint32_t kQueryContentRange = 53;
inline constexpr uint32_t kQueryRetryAfter = 36;
inline constexpr uint32_t kQueryFlagNumber = 0x20000000;

// InternetSetOptionA options.
inline constexpr uint32_t kOptionConnectTimeout = 2;   // DWORD milliseconds
inline constexpr uint32_t kOptionReceiveTimeout = 6;   // DWORD milliseconds without data
inline constexpr uint32_t kOptionProxy = 38;           // InternetProxyInfo
inline constexpr uint32_t kOptionProxyUsername = 43;   // text
inline constexpr uint32_t kOptionProxyPassword = 44;   // text

// Error codes of failed internet calls, as GetLastError reports them.
inline constexpr uint32_t kErrorTimeout = 12002;
inline constexpr uint32_t kErrorInternal = 12004;
inline constexpr uint32_t kErrorNameNotResolved = 12007;
inline constexpr uint32_t kErrorCannotConnect = 12029;
inline constexpr uint32_t kErrorConnectionReset = 12031;
inline constexpr uint32_t kErrorSecureFailure = 12175;

struct InternetProxyInfo {
  uint32_t accessType;
  const char* proxy;
  const char* proxyBypass;
};

// TRUE when a network interface other than loopback is up; *flags gets the
// LAN and configured bits, and the proxy bit when the environment names a
// proxy (http_proxy, https_proxy, all_proxy).
int32_t InternetGetConnectedState(uint32_t* flags, uint32_t reserved);

// A root handle. Preconfigured access types use the environment's proxies,
// direct uses none, the proxy type the proxy text given.
void* InternetOpenA(const char* agent, uint32_t accessType, const char* proxy,
                    const char* proxyBypass, uint32_t flags);

// Opens an http or https URL below a root handle and waits for the response
// headers. `headers` holds extra header lines separated by "\r\n" (length
// 0xFFFFFFFF: up to the NUL). Null when no response arrives.
void* InternetOpenUrlA(void* internet, const char* url, const char* headers,
                       uint32_t headersLength, uint32_t flags, uintptr_t context);

// A connection to a host (port 0: the scheme's default). Nothing is sent yet.
void* InternetConnectA(void* internet, const char* server, uint16_t port, const char* user,
                       const char* password, uint32_t service, uint32_t flags, uintptr_t context);
// A request on a connection. `acceptTypes` (null-terminated list, may be
// null) becomes one Accept header; kFlagSecure makes it https.
void* HttpOpenRequestA(void* connection, const char* verb, const char* object,
                       const char* version, const char* referrer, const char** acceptTypes,
                       uint32_t flags, uintptr_t context);
// Sends the request with extra header lines (a line replaces an earlier one
// of the same name) and waits for the response headers. Request bodies are
// not supported: optional data fails the call.
int32_t HttpSendRequestA(void* request, const char* headers, uint32_t headersLength,
                         void* optional, uint32_t optionalLength);

// Content length, status code, content range or Retry-After of the response, as text
// (*bufferLength: capacity in, length without NUL out; too small: FALSE with
// the size needed) or, with kQueryFlagNumber, as a 32-bit number. FALSE when
// the header is absent. Only index 0 exists.
int32_t HttpQueryInfoA(void* request, uint32_t infoLevel, void* buffer, uint32_t* bufferLength,
                       uint32_t* index);

// Fills up to `toRead` bytes; *read 0 with TRUE marks the end of the body.
// FALSE when the transfer failed.
int32_t InternetReadFile(void* file, void* buffer, uint32_t toRead, uint32_t* read);

int32_t InternetSetOptionA(void* internet, uint32_t option, void* buffer, uint32_t bufferLength);

int32_t InternetCloseHandle(void* internet);

// The error code of this thread's last failed InternetOpenUrlA,
// HttpSendRequestA or InternetReadFile (GetLastError after them).
uint32_t LastInternetError();

// The parts of an absolute URL, split as InternetCrackUrlA does without
// encoding or decoding: `path` keeps the query and anything after it.
struct UrlParts {
  int32_t scheme;  // kSchemeHttp, kSchemeHttps, or -1 for any other
  std::string host;
  uint16_t port;   // the scheme's default when the URL names none
  std::string user;
  std::string password;
  std::string path;
};
std::optional<UrlParts> CrackUrl(std::string_view url);

}  // namespace vlmr::platform::win
