// MD5 through OpenSSL's libcrypto, and the Cryptdll-shaped MD5Init, MD5Update
// and MD5Final over their 104-byte context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vlmr::platform {

#pragma pack(push, 4)
// Cryptdll's context layout: bit count (low word first), the four chaining
// words, the partial input block and the digest (valid after MD5Final).
struct Md5Context {
  uint32_t count[2];
  uint32_t state[4];
  uint8_t input[64];
  uint8_t digest[16];
};
#pragma pack(pop)
static_assert(sizeof(Md5Context) == 104, "Cryptdll's MD5 context is 104 bytes");

void MD5Init(Md5Context* context);
void MD5Update(Md5Context* context, const void* data, uint32_t length);
void MD5Final(Md5Context* context);

// Streaming digest over OpenSSL's EVP interface, for bulk hashing.
class Md5Stream {
 public:
  Md5Stream();
  Md5Stream(const Md5Stream&) = delete;
  Md5Stream& operator=(const Md5Stream&) = delete;
  ~Md5Stream();
  void Update(const void* data, size_t length);
  // 16 raw digest bytes; the stream must not be updated afterwards.
  void Final(uint8_t digest[16]);

 private:
  void* ctx_;
};

// A 16-byte digest as 32 upper-case hex digits, the form manifests carry.
std::string UpperHexDigest(const uint8_t digest[16]);

// The MD5 of `bytes` as 32 upper-case hex digits.
std::string Md5UpperHex(std::string_view bytes);

}  // namespace vlmr::platform
