#include "platform/wininet.h"

#include <windows.h>
#include <wininet.h>

// The system's WinINet under the layer's names, for the code that calls the
// layer directly (the whole-body fetch); the declared-function table loads
// wininet.dll itself.
namespace vlmr::platform::win {
namespace {

DWORD* AsDword(uint32_t* value) { return reinterpret_cast<DWORD*>(value); }

}  // namespace

int32_t InternetGetConnectedState(uint32_t* flags, uint32_t reserved) {
  return ::InternetGetConnectedState(AsDword(flags), reserved);
}

void* InternetOpenA(const char* agent, uint32_t accessType, const char* proxy, const char* proxyBypass,
                    uint32_t flags) {
  return ::InternetOpenA(agent, accessType, proxy, proxyBypass, flags);
}

void* InternetOpenUrlA(void* internet, const char* url, const char* headers, uint32_t headersLength,
                       uint32_t flags, uintptr_t context) {
  return ::InternetOpenUrlA(internet, url, headers, headersLength, flags, context);
}

void* InternetConnectA(void* internet, const char* server, uint16_t port, const char* user,
                       const char* password, uint32_t service, uint32_t flags, uintptr_t context) {
  return ::InternetConnectA(internet, server, port, user, password, service, flags, context);
}

void* HttpOpenRequestA(void* connection, const char* verb, const char* object, const char* version,
                       const char* referrer, const char** acceptTypes, uint32_t flags, uintptr_t context) {
  return ::HttpOpenRequestA(connection, verb, object, version, referrer, acceptTypes, flags, context);
}

int32_t HttpSendRequestA(void* request, const char* headers, uint32_t headersLength, void* optional,
                         uint32_t optionalLength) {
  return ::HttpSendRequestA(request, headers, headersLength, optional, optionalLength);
}

int32_t HttpQueryInfoA(void* request, uint32_t infoLevel, void* buffer, uint32_t* bufferLength,
                       uint32_t* index) {
  return ::HttpQueryInfoA(request, infoLevel, buffer, AsDword(bufferLength), AsDword(index));
}

int32_t InternetReadFile(void* file, void* buffer, uint32_t toRead, uint32_t* read) {
  return ::InternetReadFile(file, buffer, toRead, AsDword(read));
}

int32_t InternetSetOptionA(void* internet, uint32_t option, void* buffer, uint32_t bufferLength) {
  return ::InternetSetOptionA(internet, option, buffer, bufferLength);
}

int32_t InternetCloseHandle(void* internet) { return ::InternetCloseHandle(internet); }

uint32_t LastInternetError() { return ::GetLastError(); }

}  // namespace vlmr::platform::win
