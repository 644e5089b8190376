#include "component/module/memcached_cache.h"

#include <cstdio>
#include <mutex>

namespace vlmr::component {

// No Memcached client library is built for Windows: the local cache works,
// the Memcached cache cannot be made.
std::unique_ptr<CacheStore> ConnectMemcached(std::string_view, int32_t) {
  static std::once_flag said;
  std::call_once(said, [] {
    std::fprintf(stderr, "component: this build has no Memcached client; CreateMemcached fails\n");
  });
  return nullptr;
}

}  // namespace vlmr::component
