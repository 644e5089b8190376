// The in-memory cache: entries kept in the module's memory, the least
// recently used one evicted first when a limit would be passed, and each
// entry dropped once its expiry has passed. Safe from any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "component/module/cache_store.h"

namespace vlmr::component {

class LocalCache final : public CacheStore {
 public:
  // An entry costs the bytes of its key and its value; one larger than
  // maxBytes is refused.
  LocalCache(int64_t maxEntries, int64_t maxBytes);

  std::optional<std::string> Get(std::string_view key) override;
  std::optional<KeyValues> MultiGet(const std::vector<std::string_view>& keys) override;
  bool Set(std::string_view key, std::string_view value, int64_t expiry) override;
  bool Add(std::string_view key, std::string_view value, int64_t expiry) override;
  bool Exists(std::string_view key) override;
  bool Delete(std::string_view key) override;
  bool Clear() override;
  std::optional<uint64_t> Move(std::string_view key, uint64_t step, bool up,
                               int64_t expiry) override;
  bool SetExpire(std::string_view key, int64_t expiry) override;
  std::optional<int64_t> Count() override;

 private:
  using Clock = std::chrono::steady_clock;
  struct Entry {
    std::string key;
    std::string value;
    Clock::time_point deadline;
  };
  using Recency = std::list<Entry>;  // most recently used first

  struct KeyHash {
    using is_transparent = void;
    size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
  };

  static Clock::time_point DeadlineOf(int64_t expiry);
  // The live entry of the key, made the most recently used; end() when there
  // is none (an expired one is dropped on the way).
  Recency::iterator Find(std::string_view key);
  void Store(std::string_view key, std::string_view value, Clock::time_point deadline);
  void Erase(Recency::iterator entry);
  void EvictBeyondLimits();

  const size_t maxEntries_;
  const size_t maxBytes_;
  std::mutex mutex_;
  Recency recency_;
  // Keys viewed in the entries they index.
  std::unordered_map<std::string_view, Recency::iterator, KeyHash, std::equal_to<>> index_;
  size_t bytes_ = 0;
};

}  // namespace vlmr::component
