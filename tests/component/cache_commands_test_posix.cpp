// The cache object type through the launcher's exported functions (member
// commands) and entry points (create, clone, release), on the in-memory cache
// and on a real Memcached server: both kinds answer alike.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "component/cache_exports.h"
#include "component/command_slots.h"
#include "component/cache_calls.h"
#include "support/memcached_server.h"
#include "support/server_suite.h"

namespace vlmr::test {
namespace {

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

// One server for the test process, stopped when it ends.
MemcachedServer& Server() {
  static MemcachedServer server;
  return server;
}

// A cache of the kind named, made through its create command.
std::unique_ptr<TestCache> MakeCache(const std::string& kind) {
  LoadServerSuite();
  auto cache = std::make_unique<TestCache>(LauncherCalls());
  const bool made = kind == "local" ? cache->CreateLocal(1000, 1 << 20)
                                    : cache->CreateMemcached(Server().Address(), 2);
  EXPECT_TRUE(made);
  EXPECT_TRUE(cache->Clear());
  return cache;
}

class EveryCache : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "memcached") {
      ASSERT_TRUE(Server().Started()) << "memcached did not start";
    }
    cache_ = MakeCache(GetParam());
  }
  std::unique_ptr<TestCache> cache_;
};

const std::string kGbkText = "\xD6\xD0\xCE\xC4";  // "中文"

TEST_P(EveryCache, StoresReadsAndRemovesEntries) {
  TestCache& c = *cache_;
  EXPECT_TRUE(c.Set("k1", std::string("v\0" "1", 3)));
  EXPECT_EQ(c.Get("k1"), std::string("v\0" "1", 3));
  EXPECT_EQ(c.GetText("k1"), "");  // a zero byte: no text holds it whole
  EXPECT_TRUE(c.SetText("k2" + kGbkText, kGbkText));
  EXPECT_EQ(c.GetText("k2" + kGbkText), kGbkText);
  EXPECT_EQ(c.Get("missing"), std::nullopt);

  EXPECT_TRUE(c.Add("k3", "first"));
  EXPECT_FALSE(c.Add("k3", "second"));
  EXPECT_EQ(c.Get("k3"), "first");

  EXPECT_TRUE(c.Exists("k3"));
  EXPECT_TRUE(c.Delete("k3"));
  EXPECT_FALSE(c.Exists("k3"));
  EXPECT_TRUE(c.Delete("k3"));  // nothing left to delete is no failure

  EXPECT_TRUE(c.Clear());
  EXPECT_FALSE(c.Exists("k1"));
}

TEST_P(EveryCache, MultiGetListsEachFoundKeyOnceInTheOrderAsked) {
  TestCache& c = *cache_;
  ASSERT_TRUE(c.SetText("a", "1"));
  ASSERT_TRUE(c.SetText("b", kGbkText));
  const std::vector<std::string> expected = {"b=" + kGbkText, "a=1"};
  EXPECT_EQ(c.MultiGet({"b", "missing", "a", "b"}, false), expected);
  EXPECT_EQ(c.MultiGet({"b", "missing", "a", "b"}, true), expected);
  EXPECT_EQ(c.MultiGet({"missing"}, true), std::vector<std::string>());
  EXPECT_EQ(c.MultiGet({"a", "bad key"}, true), std::nullopt);
  EXPECT_EQ(c.MultiGet({}, true), std::nullopt);
}

TEST_P(EveryCache, CountersMoveWithinUnsigned64Bits) {
  TestCache& c = *cache_;
  EXPECT_EQ(c.Incr("n", 5), 5);      // a missing counter starts at 0
  EXPECT_EQ(c.Incr("n", -2), 3);     // a negative step moves the other way
  EXPECT_EQ(c.Decr("n", 10), 0);     // and a decrease stops at 0
  EXPECT_EQ(c.Decr("new", 4), 0);
  EXPECT_EQ(c.Incr("n", 4294967295LL), 4294967295LL);
  EXPECT_EQ(c.Incr("n", 4294967296LL), -1);  // steps beyond 32 bits are refused
  ASSERT_TRUE(c.SetText("word", "abc"));
  EXPECT_EQ(c.Incr("word", 1), -1);  // not a counter
  EXPECT_EQ(c.GetText("word"), "abc");
}

TEST_P(EveryCache, RefusesBadKeysAndNegativeExpiries) {
  TestCache& c = *cache_;
  for (const std::string& key : {std::string(), std::string("has space"), std::string("tab\t"),
                                  std::string("ctl\x01"), std::string(251, 'k')}) {
    SCOPED_TRACE(key);
    EXPECT_FALSE(c.Set(key, "v"));
    EXPECT_EQ(c.Get(key), std::nullopt);
    EXPECT_FALSE(c.Exists(key));
    EXPECT_EQ(c.Incr(key, 1), -1);
  }
  EXPECT_TRUE(c.Set(std::string(250, 'k'), "v"));
  EXPECT_FALSE(c.Set("k", "v", -1));
  EXPECT_FALSE(c.SetExpire("k", 10));  // missing
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryCache, testing::Values("local", "memcached"),
                         [](const auto& info) { return info.param; });

TEST(Caches, EntriesExpireAlike) {
  ASSERT_TRUE(Server().Started());
  auto local = MakeCache("local");
  auto memcached = MakeCache("memcached");
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

TEST(LocalCache, EvictsTheLeastRecentlyUsedEntryFirst) {
  auto c = MakeCache("local");
  ASSERT_TRUE(c->CreateLocal(3, 1 << 20));
  for (const char* key : {"a", "b", "c"}) ASSERT_TRUE(c->Set(key, "v"));
  ASSERT_EQ(c->Get("a"), "v");  // now b is the least recently used
  ASSERT_TRUE(c->Set("d", "v"));
  EXPECT_EQ(c->Count(), 3);
  EXPECT_EQ(c->MultiGet({"a", "b", "c", "d"}, true),
            (std::vector<std::string>{"a=v", "c=v", "d=v"}));

  // By bytes (key and value): 10 at most.
  ASSERT_TRUE(c->CreateLocal(100, 10));
  ASSERT_TRUE(c->Set("k1", "aaa"));
  ASSERT_TRUE(c->Set("k2", "bbb"));
  ASSERT_TRUE(c->Set("k3", "c"));  // 13 bytes: k1 goes
  EXPECT_FALSE(c->Set("big", std::string(8, 'x')));  // larger than the cache
  EXPECT_EQ(c->MultiGet({"k1", "k2", "k3"}, true), (std::vector<std::string>{"k2=bbb", "k3=c"}));
}

TEST(Caches, ClonesShareTheCacheAndReleaseEmptiesTheVariable) {
  auto original = MakeCache("local");
  TestCache clone(LauncherCalls());
  clone.CloneFrom(*original);
  ASSERT_TRUE(clone.Set("k", "v"));
  EXPECT_EQ(original->Get("k"), "v");
  original->Call(component::kCacheRelease, {});
  EXPECT_EQ(original->held(), nullptr);
  EXPECT_FALSE(original->Set("k", "v"));  // no cache in the variable any more
  EXPECT_EQ(clone.Get("k"), "v");
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

TEST(ServerSuite, CommandsItDoesNotProvideLeaveTheResultZeroAndSaySoOnce) {
  LoadServerSuite();
  testing::internal::CaptureStderr();
  for (int32_t number : {5, 900, 5}) {
    rt::RtValue result{};
    rt::RtValue arg = rt::RtValue::Int(7);
    component::CommandEntry(number)(&result, 1, &arg);
    EXPECT_EQ(result.payload, 0u);
    EXPECT_EQ(result.type, 0u);
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said,
            "TARN: command 5 is not provided by this component\n"
            "TARN: command 900 is not provided by this component\n");
}

}  // namespace
}  // namespace vlmr::test
