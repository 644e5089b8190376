// The MD5 hasher object: an MD5 context in the 104-byte layout of the system
// MD5 primitive (MD5Init / MD5Update / MD5Final) and the lower-case hex result
// text. Each primitive call gets a temporary copy of the context and the
// updated context is copied back, as structures are passed to declared
// functions.
#pragma once

#include <cstdint>

#include "platform/md5.h"
#include "runtime/rt_blocks.h"

namespace vlmr::update {

using Md5Context = platform::Md5Context;

class Md5Hasher {
 public:
  Md5Hasher() = default;
  Md5Hasher(const Md5Hasher&) = delete;
  Md5Hasher& operator=(const Md5Hasher&) = delete;
  Md5Hasher(Md5Hasher&&) = default;
  Md5Hasher& operator=(Md5Hasher&&) = default;
  ~Md5Hasher() { Destroy(); }

  // Releases the context and the result text (both back to empty).
  void Destroy();
  // A new hasher with a copy of the context and of the result text.
  Md5Hasher Copy() const;
  // Starts a new digest; the result text becomes empty.
  void Begin();
  // Adds `length` bytes at `address`; nothing for length <= 0.
  void AddData(const void* address, int32_t length);
  // Adds a byte array's bytes.
  void AddBytes(const void* byteArray);
  // Completes the digest and makes the result text: 32 lower-case hex digits.
  void Finish();
  // A copy of the result text.
  rt::Text Result() const;

  const Md5Context& Context() const { return context_; }

 private:
  Md5Context context_{};
  rt::Text result_;
};

}  // namespace vlmr::update
