// Caches for the tests, made through the component's create command and
// called through the routines a program reaches them by on this system.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "component/cache_calls.h"

namespace vlmr::test {

// The routines of commands 268-286 as the launcher offers them.
CacheCalls LauncherCalls();
// The kinds of cache this build can make: "local", and "memcached" where a
// Memcached client is built (a real server is started for the test process).
std::vector<std::string> CacheKinds();
// A cleared cache of the kind named; null (with a test failure) when it
// cannot be made.
std::unique_ptr<TestCache> MakeCache(const std::string& kind);

}  // namespace vlmr::test
