#include "platform/md5.h"

#include <windows.h>
#include <bcrypt.h>

namespace vlmr::platform {
namespace {

// Cryptdll's MD5 functions, looked up once.
struct Cryptdll {
  using Init = void(WINAPI*)(Md5Context*);
  using Update = void(WINAPI*)(Md5Context*, const void*, unsigned int);
  using Final = void(WINAPI*)(Md5Context*);
  Init init = nullptr;
  Update update = nullptr;
  Final final = nullptr;

  static const Cryptdll& Get() {
    static const Cryptdll functions = [] {
      Cryptdll f;
      if (HMODULE module = ::LoadLibraryExW(L"cryptdll.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        f.init = reinterpret_cast<Init>(reinterpret_cast<void*>(::GetProcAddress(module, "MD5Init")));
        f.update = reinterpret_cast<Update>(reinterpret_cast<void*>(::GetProcAddress(module, "MD5Update")));
        f.final = reinterpret_cast<Final>(reinterpret_cast<void*>(::GetProcAddress(module, "MD5Final")));
      }
      return f;
    }();
    return functions;
  }
};

BCRYPT_ALG_HANDLE Md5Algorithm() {
  static BCRYPT_ALG_HANDLE algorithm = [] {
    BCRYPT_ALG_HANDLE handle = nullptr;
    ::BCryptOpenAlgorithmProvider(&handle, BCRYPT_MD5_ALGORITHM, nullptr, 0);
    return handle;
  }();
  return algorithm;
}

}  // namespace

void MD5Init(Md5Context* context) {
  if (context != nullptr && Cryptdll::Get().init) Cryptdll::Get().init(context);
}

void MD5Update(Md5Context* context, const void* data, uint32_t length) {
  if (context == nullptr || (data == nullptr && length > 0) || !Cryptdll::Get().update) return;
  Cryptdll::Get().update(context, data, length);
}

void MD5Final(Md5Context* context) {
  if (context != nullptr && Cryptdll::Get().final) Cryptdll::Get().final(context);
}

Md5Stream::Md5Stream() : ctx_(nullptr) {
  BCRYPT_HASH_HANDLE hash = nullptr;
  ::BCryptCreateHash(Md5Algorithm(), &hash, nullptr, 0, nullptr, 0, 0);
  ctx_ = hash;
}

Md5Stream::~Md5Stream() {
  if (ctx_) ::BCryptDestroyHash(static_cast<BCRYPT_HASH_HANDLE>(ctx_));
}

void Md5Stream::Update(const void* data, size_t length) {
  const auto* bytes = static_cast<const UCHAR*>(data);
  while (length > 0) {
    const ULONG chunk = static_cast<ULONG>(std::min<size_t>(length, 1u << 30));
    ::BCryptHashData(static_cast<BCRYPT_HASH_HANDLE>(ctx_), const_cast<UCHAR*>(bytes), chunk, 0);
    bytes += chunk;
    length -= chunk;
  }
}

void Md5Stream::Final(uint8_t digest[16]) {
  ::BCryptFinishHash(static_cast<BCRYPT_HASH_HANDLE>(ctx_), digest, 16, 0);
}

}  // namespace vlmr::platform
