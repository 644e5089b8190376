// The Memcached cache: a pool of client connections (libmemcached) to a list
// of Memcached servers, among which the keys are spread. Each operation takes
// a connection from the pool, waiting while all are busy, and gives it back.
// Safe from any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "component/module/cache_store.h"

struct memcached_st;
struct memcached_pool_st;

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

}  // namespace vlmr::component
