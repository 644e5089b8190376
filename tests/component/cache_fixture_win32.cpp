#include <gtest/gtest.h>

#include "component/cache_fixture.h"
#include "component/command_slots.h"
#include "support/server_suite.h"

namespace vlmr::test {

// Every command through the component's entry points: the twelve exports
// belong to the launcher's executable, which this build does not make yet.
CacheCalls LauncherCalls() {
  CacheCalls calls;
  for (int32_t n = component::kCacheCreate; n <= component::kCacheAdd; ++n) {
    calls[n] = component::CommandEntry(n);
  }
  return calls;
}

// No Memcached client library is built for Windows.
std::vector<std::string> CacheKinds() { return {"local"}; }

std::unique_ptr<TestCache> MakeCache(const std::string& kind) {
  LoadServerSuite();
  auto cache = std::make_unique<TestCache>(LauncherCalls());
  EXPECT_EQ(kind, "local");
  EXPECT_TRUE(cache->CreateLocal(1000, 1 << 20));
  EXPECT_TRUE(cache->Clear());
  return cache;
}

}  // namespace vlmr::test
