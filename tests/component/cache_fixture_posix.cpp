#include <gtest/gtest.h>

#include "component/cache_exports.h"
#include "component/cache_fixture.h"
#include "component/command_slots.h"
#include "support/memcached_server.h"
#include "support/server_suite.h"

namespace vlmr::test {
namespace {

// One server for the test process, stopped when it ends.
MemcachedServer& Server() {
  static MemcachedServer server;
  return server;
}

}  // namespace

// The member commands through the launcher's twelve exports, the type's
// create, clone and release commands through its entry points.
CacheCalls LauncherCalls() {
  CacheCalls calls;
  for (int32_t n = component::kCacheCreate; n <= component::kCacheAdd; ++n) {
    calls[n] = component::CommandEntry(n);
  }
#define VLMR_TAKE_EXPORT(name, number) calls[component::number] = &name;
  VLMR_CACHE_EXPORTS(VLMR_TAKE_EXPORT)
#undef VLMR_TAKE_EXPORT
  return calls;
}

std::vector<std::string> CacheKinds() { return {"local", "memcached"}; }

std::unique_ptr<TestCache> MakeCache(const std::string& kind) {
  LoadServerSuite();
  if (kind == "memcached" && !Server().Started()) {
    ADD_FAILURE() << "memcached did not start";
    return nullptr;
  }
  auto cache = std::make_unique<TestCache>(LauncherCalls());
  const bool made = kind == "local" ? cache->CreateLocal(1000, 1 << 20)
                                    : cache->CreateMemcached(Server().Address(), 2);
  EXPECT_TRUE(made);
  EXPECT_TRUE(cache->Clear());
  return cache;
}

}  // namespace vlmr::test
