#include <gtest/gtest.h>
#include <windows.h>

#include "component/cache_exports.h"
#include "component/cache_fixture.h"
#include "component/command_slots.h"
#include "support/server_suite.h"

namespace vlmr::test {

// The member commands through the twelve functions this program exports,
// found in its export table by name; the type's create, clone and release
// commands through the component's entry points.
CacheCalls LauncherCalls() {
  CacheCalls calls;
  for (int32_t n = component::kCacheCreate; n <= component::kCacheAdd; ++n) {
    calls[n] = component::CommandEntry(n);
  }
  HMODULE program = ::GetModuleHandleW(nullptr);
#define VLMR_FIND_EXPORT(name, number) \
  calls[component::number] = reinterpret_cast<rt::CommandFn>(reinterpret_cast<void*>(::GetProcAddress(program, #name)));
  VLMR_CACHE_EXPORTS(VLMR_FIND_EXPORT)
#undef VLMR_FIND_EXPORT
  for (rt::CommandFn routine : calls.routines) EXPECT_NE(routine, nullptr);
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
