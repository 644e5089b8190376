// The Memcached cache in a build without a Memcached client: creation fails
// cleanly, said once on standard error, and the variable holds no cache.
#include <gtest/gtest.h>

#include "component/cache_fixture.h"
#include "support/server_suite.h"

namespace vlmr::test {
namespace {

TEST(MemcachedCache, CannotBeMadeInThisBuildAndSaysSoOnce) {
  LoadServerSuite();
  TestCache c(LauncherCalls());
  testing::internal::CaptureStderr();
  EXPECT_FALSE(c.CreateMemcached("127.0.0.1:11211", 2));
  EXPECT_FALSE(c.CreateMemcached("127.0.0.1:11211", 2));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "component: this build has no Memcached client; CreateMemcached fails\n");
  EXPECT_FALSE(c.Set("k", "v"));
}

}  // namespace
}  // namespace vlmr::test
