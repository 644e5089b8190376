// The twelve cache functions the launcher exports by name, for programs that
// share its process. Each takes the library-command arguments (result record,
// argument count, argument records beginning with the cache object) and
// calls the bound cache command with them.
#pragma once

#include <cstdint>

#include "runtime/rt_value.h"

// The export's name and the cache command it calls, one line each.
#define VLMR_CACHE_EXPORTS(X)                         \
  X(tarn_CacheGet, kCacheGet)                         \
  X(tarn_CacheGetText, kCacheGetText)                 \
  X(tarn_CacheSet, kCacheSet)                         \
  X(tarn_CacheSetText, kCacheSetText)                 \
  X(tarn_CacheGetMulti, kCacheMultiGet)               \
  X(tarn_CacheGetMultiText, kCacheMultiGetText)       \
  X(tarn_CacheExists, kCacheExists)                   \
  X(tarn_CacheDelete, kCacheDelete)                   \
  X(tarn_CacheClear, kCacheClear)                     \
  X(tarn_CacheIncr, kCacheIncr)                       \
  X(tarn_CacheDecr, kCacheDecr)                       \
  X(tarn_CacheSetExpire, kCacheSetExpire)

#define VLMR_DECLARE_CACHE_EXPORT(name, command) \
  extern "C" void name(vlmr::rt::RtValue* result, int32_t count, vlmr::rt::RtValue* args);
VLMR_CACHE_EXPORTS(VLMR_DECLARE_CACHE_EXPORT)
#undef VLMR_DECLARE_CACHE_EXPORT
