// Test bytes: a deterministic, non-repeating-looking pattern of any length,
// so that a shifted, cut or doubled transfer never matches by accident.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vlmr::test {

// n bytes starting from `seed`; different seeds give different contents.
inline std::string TestBytes(size_t n, uint8_t seed = 0) {
  std::string bytes(n, '\0');
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(seed + i * 7 + i / 251);
  return bytes;
}

}  // namespace vlmr::test
