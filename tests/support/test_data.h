// Test bytes: a deterministic, non-repeating-looking pattern of any length,
// so that a shifted, cut or doubled transfer never matches by accident.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vlmr::test {

// Bytes [offset, offset + n) of the pattern that starts from `seed`, so a
// server can hand out any part of a body too large to hold.
inline void FillTestBytes(char* out, size_t n, uint64_t offset, uint8_t seed) {
  for (size_t k = 0; k < n; ++k) {
    const uint64_t i = offset + k;
    out[k] = static_cast<char>(seed + i * 7 + i / 251);
  }
}

// n bytes starting from `seed`; different seeds give different contents.
inline std::string TestBytes(size_t n, uint8_t seed = 0) {
  std::string bytes(n, '\0');
  FillTestBytes(bytes.data(), n, 0, seed);
  return bytes;
}

}  // namespace vlmr::test
