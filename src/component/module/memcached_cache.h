// The Memcached cache: a pool of client connections to a list of Memcached
// servers, among which the keys are spread. Safe from any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "component/module/cache_store.h"

namespace vlmr::component {

// A Memcached cache for servers given as "host:port,host:port" (port 11211
// when left out), with at most poolSize connections; null when the list names
// no server, or when this build has no Memcached client (it then says so once
// on standard error).
std::unique_ptr<CacheStore> ConnectMemcached(std::string_view servers, int32_t poolSize);

}  // namespace vlmr::component
