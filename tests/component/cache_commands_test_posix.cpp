// The caches' expiry on both kinds alike, and the Memcached cache against a
// real server and a dead one.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "component/cache_fixture.h"
#include "support/server_suite.h"

namespace vlmr::test {
namespace {

TEST(Caches, EntriesExpireAlike) {
  auto local = MakeCache("local");
  auto memcached = MakeCache("memcached");
  ASSERT_NE(memcached, nullptr);
  for (TestCache* c : {local.get(), memcached.get()}) {
    ASSERT_TRUE(c->Set("short", "v", 1));
    ASSERT_TRUE(c->Set("kept", "v", 0));
    ASSERT_TRUE(c->Set("shortened", "v"));
    ASSERT_TRUE(c->SetExpire("shortened", 1));
    ASSERT_EQ(c->Incr("counter", 1, 1), 1);
    ASSERT_TRUE(c->Set("lengthened", "v", 1));
    ASSERT_TRUE(c->SetExpire("lengthened", 0));
  }
  // Memcached's clock moves in whole seconds: an expiry of 1 s has passed
  // for certain two seconds later.
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));
  for (TestCache* c : {local.get(), memcached.get()}) {
    EXPECT_FALSE(c->Exists("short"));
    EXPECT_FALSE(c->Exists("shortened"));
    EXPECT_EQ(c->Incr("counter", 1), 1);  // made anew
    EXPECT_TRUE(c->Exists("kept"));
    EXPECT_TRUE(c->Exists("lengthened"));
  }
}

TEST(MemcachedCache, CreationChecksItsArgumentsAndADeadServerFailsEachCommand) {
  LoadServerSuite();
  TestCache c(LauncherCalls());
  EXPECT_FALSE(c.CreateMemcached("", 2));
  EXPECT_FALSE(c.CreateMemcached("127.0.0.1:11211", 65));
  EXPECT_FALSE(c.CreateMemcached("127.0.0.1:11211", -1));
  // Port 1: nobody listens there, the connection is refused at once.
  ASSERT_TRUE(c.CreateMemcached("127.0.0.1:1", 2));
  EXPECT_FALSE(c.Set("k", "v"));
  EXPECT_EQ(c.Get("k"), std::nullopt);
  EXPECT_EQ(c.Incr("n", 1), -1);
  EXPECT_EQ(c.MultiGet({"k"}, true), std::nullopt);
  EXPECT_EQ(c.Count(), -1);
}

}  // namespace
}  // namespace vlmr::test
