#include "component/module/memcached_cache.h"

#include <libmemcached/memcached.h>
#include <libmemcachedutil-1.0/pool.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace vlmr::component {

class MemcachedCache final : public CacheStore {
 public:
  // Servers as "host:port,host:port" (port 11211 when left out); at most
  // poolSize connections. Null when the list names no server. Servers are
  // reached on first use, so one that is down makes operations fail, not this.
  static std::unique_ptr<MemcachedCache> Connect(std::string_view servers, int32_t poolSize);
  ~MemcachedCache() override;

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
  class Connection;
  MemcachedCache(memcached_st* master, memcached_pool_st* pool);

  memcached_st* master_;
  memcached_pool_st* pool_;
};

namespace {

// A server that does not answer within a second fails the operation.
constexpr uint64_t kServerTimeoutMs = 1000;
// How long an operation waits for a free connection of the pool.
constexpr time_t kPoolWaitSeconds = 10;
// Memcached reads a larger expiry as a point in time (Unix seconds).
constexpr int64_t kLongestRelativeExpiry = 30 * 24 * 3600;

time_t ServerExpiry(int64_t expiry) {
  if (expiry <= kLongestRelativeExpiry) return static_cast<time_t>(expiry);
  return std::time(nullptr) + static_cast<time_t>(expiry);
}

bool Succeeded(memcached_return_t rc) { return rc == MEMCACHED_SUCCESS; }

}  // namespace

// A connection taken from the pool for one operation; null when none came.
class MemcachedCache::Connection {
 public:
  explicit Connection(memcached_pool_st* pool) : pool_(pool) {
    timespec wait{kPoolWaitSeconds, 0};
    memcached_return_t rc;
    client_ = memcached_pool_fetch(pool_, &wait, &rc);
  }
  ~Connection() {
    if (client_ != nullptr) memcached_pool_release(pool_, client_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  memcached_st* get() const { return client_; }
  explicit operator bool() const { return client_ != nullptr; }

 private:
  memcached_pool_st* pool_;
  memcached_st* client_ = nullptr;
};

std::unique_ptr<MemcachedCache> MemcachedCache::Connect(std::string_view servers,
                                                        int32_t poolSize) {
  const std::string list(servers);
  memcached_server_list_st parsed = memcached_servers_parse(list.c_str());
  if (parsed == nullptr) return nullptr;
  memcached_st* master = memcached_create(nullptr);
  const bool added = master != nullptr && Succeeded(memcached_server_push(master, parsed));
  memcached_server_list_free(parsed);
  if (!added) {
    if (master != nullptr) memcached_free(master);
    return nullptr;
  }
  memcached_behavior_set(master, MEMCACHED_BEHAVIOR_CONNECT_TIMEOUT, kServerTimeoutMs);
  memcached_behavior_set(master, MEMCACHED_BEHAVIOR_POLL_TIMEOUT, kServerTimeoutMs);
  memcached_behavior_set(master, MEMCACHED_BEHAVIOR_TCP_NODELAY, 1);
  memcached_pool_st* pool = memcached_pool_create(master, 1, static_cast<uint32_t>(poolSize));
  if (pool == nullptr) {
    memcached_free(master);
    return nullptr;
  }
  return std::unique_ptr<MemcachedCache>(new MemcachedCache(master, pool));
}

MemcachedCache::MemcachedCache(memcached_st* master, memcached_pool_st* pool)
    : master_(master), pool_(pool) {}

MemcachedCache::~MemcachedCache() {
  memcached_pool_destroy(pool_);
  memcached_free(master_);
}

std::optional<std::string> MemcachedCache::Get(std::string_view key) {
  Connection connection(pool_);
  if (!connection) return std::nullopt;
  size_t length = 0;
  uint32_t flags = 0;
  memcached_return_t rc;
  char* value = memcached_get(connection.get(), key.data(), key.size(), &length, &flags, &rc);
  if (!Succeeded(rc)) {
    std::free(value);
    return std::nullopt;
  }
  std::string found(value ? value : "", value ? length : 0);
  std::free(value);
  return found;
}

std::optional<KeyValues> MemcachedCache::MultiGet(const std::vector<std::string_view>& keys) {
  std::vector<const char*> names;
  std::vector<size_t> lengths;
  std::unordered_set<std::string_view> seen;
  for (std::string_view key : keys) {
    if (!seen.insert(key).second) continue;
    names.push_back(key.data());
    lengths.push_back(key.size());
  }
  if (names.empty()) return KeyValues();
  Connection connection(pool_);
  if (!connection) return std::nullopt;
  if (!Succeeded(memcached_mget(connection.get(), names.data(), lengths.data(), names.size()))) {
    return std::nullopt;
  }
  std::unordered_map<std::string, std::string> answered;
  memcached_return_t rc;
  while (memcached_result_st* result = memcached_fetch_result(connection.get(), nullptr, &rc)) {
    answered.emplace(std::string(memcached_result_key_value(result), memcached_result_key_length(result)),
                     std::string(memcached_result_value(result), memcached_result_length(result)));
    memcached_result_free(result);
  }
  if (rc != MEMCACHED_END && rc != MEMCACHED_NOTFOUND && !Succeeded(rc)) return std::nullopt;
  KeyValues found;
  for (size_t i = 0; i < names.size(); ++i) {
    const auto hit = answered.find(std::string(names[i], lengths[i]));
    if (hit != answered.end()) found.emplace_back(hit->first, std::move(hit->second));
  }
  return found;
}

bool MemcachedCache::Set(std::string_view key, std::string_view value, int64_t expiry) {
  Connection connection(pool_);
  return connection && Succeeded(memcached_set(connection.get(), key.data(), key.size(),
                                               value.data(), value.size(), ServerExpiry(expiry), 0));
}

bool MemcachedCache::Add(std::string_view key, std::string_view value, int64_t expiry) {
  Connection connection(pool_);
  return connection && Succeeded(memcached_add(connection.get(), key.data(), key.size(),
                                               value.data(), value.size(), ServerExpiry(expiry), 0));
}

bool MemcachedCache::Exists(std::string_view key) {
  Connection connection(pool_);
  return connection && Succeeded(memcached_exist(connection.get(), key.data(), key.size()));
}

bool MemcachedCache::Delete(std::string_view key) {
  Connection connection(pool_);
  if (!connection) return false;
  const memcached_return_t rc = memcached_delete(connection.get(), key.data(), key.size(), 0);
  return Succeeded(rc) || rc == MEMCACHED_NOTFOUND;
}

bool MemcachedCache::Clear() {
  Connection connection(pool_);
  return connection && Succeeded(memcached_flush(connection.get(), 0));
}

std::optional<uint64_t> MemcachedCache::Move(std::string_view key, uint64_t step, bool up,
                                             int64_t expiry) {
  Connection connection(pool_);
  if (!connection) return std::nullopt;
  const auto offset = static_cast<uint32_t>(step);
  // A missing counter is added with its first value; when another client
  // adds it meanwhile, the move is made on theirs.
  for (int attempt = 0; attempt < 2; ++attempt) {
    uint64_t value = 0;
    const memcached_return_t rc =
        up ? memcached_increment(connection.get(), key.data(), key.size(), offset, &value)
           : memcached_decrement(connection.get(), key.data(), key.size(), offset, &value);
    if (Succeeded(rc)) return value;
    if (rc != MEMCACHED_NOTFOUND) return std::nullopt;
    const uint64_t first = MoveCounter(0, step, up);
    const std::string text = std::to_string(first);
    const memcached_return_t added = memcached_add(connection.get(), key.data(), key.size(),
                                                   text.data(), text.size(), ServerExpiry(expiry), 0);
    if (Succeeded(added)) return first;
    if (added != MEMCACHED_NOTSTORED && added != MEMCACHED_DATA_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

bool MemcachedCache::SetExpire(std::string_view key, int64_t expiry) {
  Connection connection(pool_);
  return connection &&
         Succeeded(memcached_touch(connection.get(), key.data(), key.size(), ServerExpiry(expiry)));
}

std::optional<int64_t> MemcachedCache::Count() {
  Connection connection(pool_);
  if (!connection) return std::nullopt;
  memcached_return_t rc;
  memcached_stat_st* stats = memcached_stat(connection.get(), nullptr, &rc);
  if (stats == nullptr) return std::nullopt;
  if (!Succeeded(rc)) {
    memcached_stat_free(nullptr, stats);
    return std::nullopt;
  }
  int64_t items = 0;
  const uint32_t servers = memcached_server_count(connection.get());
  for (uint32_t i = 0; i < servers; ++i) items += static_cast<int64_t>(stats[i].curr_items);
  memcached_stat_free(nullptr, stats);
  return items;
}

std::unique_ptr<CacheStore> ConnectMemcached(std::string_view servers, int32_t poolSize) {
  return MemcachedCache::Connect(servers, poolSize);
}

}  // namespace vlmr::component
