// The cache object type through the component's commands, on every kind of
// cache this build can make (the in-memory cache everywhere, Memcached where
// a client library is built): both kinds answer alike.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/cache_fixture.h"
#include "component/command_slots.h"
#include "support/server_suite.h"

namespace vlmr::test {
namespace {

class EveryCache : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    cache_ = MakeCache(GetParam());
    ASSERT_NE(cache_, nullptr);
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

INSTANTIATE_TEST_SUITE_P(Kinds, EveryCache, testing::ValuesIn(CacheKinds()),
                         [](const auto& info) { return info.param; });

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
