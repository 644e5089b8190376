#include "platform/md5.h"

namespace vlmr::platform {

std::string UpperHexDigest(const uint8_t digest[16]) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(32);
  for (int i = 0; i < 16; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

std::string Md5UpperHex(std::string_view bytes) {
  Md5Stream stream;
  stream.Update(bytes.data(), bytes.size());
  uint8_t digest[16];
  stream.Final(digest);
  return UpperHexDigest(digest);
}

}  // namespace vlmr::platform
