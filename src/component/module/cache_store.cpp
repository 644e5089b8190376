#include "component/module/cache_store.h"

#include <limits>

namespace vlmr::component {

bool IsValidKey(std::string_view key) {
  if (key.empty() || key.size() > 250) return false;
  for (char c : key) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return false;
  }
  return true;
}

std::optional<uint64_t> ParseCounter(std::string_view text) {
  // A Memcached server pads a counter that got shorter with trailing blanks.
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty() || text.size() > 20) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

uint64_t MoveCounter(uint64_t value, uint64_t step, bool up) {
  if (up) return value + step;
  return step >= value ? 0 : value - step;
}

}  // namespace vlmr::component
