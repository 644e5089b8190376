#include "component/module/local_cache.h"

#include <unordered_set>

namespace vlmr::component {

LocalCache::LocalCache(int64_t maxEntries, int64_t maxBytes)
    : maxEntries_(static_cast<size_t>(maxEntries)), maxBytes_(static_cast<size_t>(maxBytes)) {}

LocalCache::Clock::time_point LocalCache::DeadlineOf(int64_t expiry) {
  return expiry == 0 ? Clock::time_point::max() : Clock::now() + std::chrono::seconds(expiry);
}

LocalCache::Recency::iterator LocalCache::Find(std::string_view key) {
  const auto found = index_.find(key);
  if (found == index_.end()) return recency_.end();
  const Recency::iterator entry = found->second;
  if (entry->deadline != Clock::time_point::max() && entry->deadline <= Clock::now()) {
    Erase(entry);
    return recency_.end();
  }
  recency_.splice(recency_.begin(), recency_, entry);
  return entry;
}

void LocalCache::Store(std::string_view key, std::string_view value, Clock::time_point deadline) {
  Recency::iterator entry = Find(key);
  if (entry != recency_.end()) {
    bytes_ = bytes_ - entry->value.size() + value.size();
    entry->value.assign(value);
    entry->deadline = deadline;
  } else {
    recency_.push_front(Entry{std::string(key), std::string(value), deadline});
    index_.emplace(recency_.front().key, recency_.begin());
    bytes_ += key.size() + value.size();
  }
  EvictBeyondLimits();
}

void LocalCache::Erase(Recency::iterator entry) {
  bytes_ -= entry->key.size() + entry->value.size();
  index_.erase(entry->key);
  recency_.erase(entry);
}

// The entry just stored is the most recently used and fits on its own, so
// it is never the one evicted.
void LocalCache::EvictBeyondLimits() {
  while (recency_.size() > maxEntries_ || bytes_ > maxBytes_) Erase(std::prev(recency_.end()));
}

std::optional<std::string> LocalCache::Get(std::string_view key) {
  std::lock_guard lock(mutex_);
  const Recency::iterator entry = Find(key);
  if (entry == recency_.end()) return std::nullopt;
  return entry->value;
}

std::optional<KeyValues> LocalCache::MultiGet(const std::vector<std::string_view>& keys) {
  std::lock_guard lock(mutex_);
  KeyValues found;
  std::unordered_set<std::string_view> seen;
  for (std::string_view key : keys) {
    if (!seen.insert(key).second) continue;
    const Recency::iterator entry = Find(key);
    if (entry != recency_.end()) found.emplace_back(key, entry->value);
  }
  return found;
}

bool LocalCache::Set(std::string_view key, std::string_view value, int64_t expiry) {
  if (key.size() + value.size() > maxBytes_) return false;
  std::lock_guard lock(mutex_);
  Store(key, value, DeadlineOf(expiry));
  return true;
}

bool LocalCache::Add(std::string_view key, std::string_view value, int64_t expiry) {
  if (key.size() + value.size() > maxBytes_) return false;
  std::lock_guard lock(mutex_);
  if (Find(key) != recency_.end()) return false;
  Store(key, value, DeadlineOf(expiry));
  return true;
}

bool LocalCache::Exists(std::string_view key) {
  std::lock_guard lock(mutex_);
  return Find(key) != recency_.end();
}

bool LocalCache::Delete(std::string_view key) {
  std::lock_guard lock(mutex_);
  const auto found = index_.find(key);
  if (found != index_.end()) Erase(found->second);
  return true;
}

bool LocalCache::Clear() {
  std::lock_guard lock(mutex_);
  index_.clear();
  recency_.clear();
  bytes_ = 0;
  return true;
}

std::optional<uint64_t> LocalCache::Move(std::string_view key, uint64_t step, bool up,
                                         int64_t expiry) {
  std::lock_guard lock(mutex_);
  const Recency::iterator entry = Find(key);
  std::optional<uint64_t> value = entry == recency_.end() ? 0 : ParseCounter(entry->value);
  if (!value) return std::nullopt;
  const uint64_t moved = MoveCounter(*value, step, up);
  const std::string text = std::to_string(moved);
  if (key.size() + text.size() > maxBytes_) return std::nullopt;
  Store(key, text, entry == recency_.end() ? DeadlineOf(expiry) : entry->deadline);
  return moved;
}

bool LocalCache::SetExpire(std::string_view key, int64_t expiry) {
  std::lock_guard lock(mutex_);
  const Recency::iterator entry = Find(key);
  if (entry == recency_.end()) return false;
  entry->deadline = DeadlineOf(expiry);
  return true;
}

std::optional<int64_t> LocalCache::Count() {
  std::lock_guard lock(mutex_);
  const Clock::time_point now = Clock::now();
  for (auto entry = recency_.begin(); entry != recency_.end();) {
    const auto next = std::next(entry);
    if (entry->deadline <= now) Erase(entry);
    entry = next;
  }
  return static_cast<int64_t>(recency_.size());
}

}  // namespace vlmr::component
