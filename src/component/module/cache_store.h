// What both kinds of cache offer the cache commands: the in-memory cache and
// the Memcached client pool answer the same operations with the same rules.
//
// Keys are checked by the commands before they reach a store (IsValidKey).
// Expiry: seconds from now, 0 for none (the commands refuse negative ones).
// Counters are unsigned 64-bit numbers kept as decimal text: an increase
// wraps around at 2^64, a decrease stops at 0, and a counter that is missing
// is made (with the expiry given) as if it had been 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vlmr::component {

// At most 250 bytes, none of them a space or a control character (what a
// Memcached server accepts); GBK characters are fine.
bool IsValidKey(std::string_view key);

// A counter's value read from its text: decimal digits only (trailing blanks
// allowed), at most 2^64 - 1.
std::optional<uint64_t> ParseCounter(std::string_view text);
// `value` moved by `step` (wrapping up, stopping at 0 down).
uint64_t MoveCounter(uint64_t value, uint64_t step, bool up);

using KeyValues = std::vector<std::pair<std::string, std::string>>;

class CacheStore {
 public:
  virtual ~CacheStore() = default;

  // The value, or nothing when the key is missing, expired or unreachable.
  virtual std::optional<std::string> Get(std::string_view key) = 0;
  // Each key found, once, in the order asked; nothing when the cache fails.
  virtual std::optional<KeyValues> MultiGet(const std::vector<std::string_view>& keys) = 0;
  virtual bool Set(std::string_view key, std::string_view value, int64_t expiry) = 0;
  // Stores only when the key is missing; false when it is present.
  virtual bool Add(std::string_view key, std::string_view value, int64_t expiry) = 0;
  virtual bool Exists(std::string_view key) = 0;
  // True when no entry of the key remains (a missing key included).
  virtual bool Delete(std::string_view key) = 0;
  virtual bool Clear() = 0;
  // The counter's new value; nothing when the value is not a counter or the
  // cache fails.
  virtual std::optional<uint64_t> Move(std::string_view key, uint64_t step, bool up,
                                       int64_t expiry) = 0;
  // A new expiry for an entry that is there; false when it is missing.
  virtual bool SetExpire(std::string_view key, int64_t expiry) = 0;
  // Entries held; nothing when the cache fails.
  virtual std::optional<int64_t> Count() = 0;
};

}  // namespace vlmr::component
