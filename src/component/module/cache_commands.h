// The commands of the cache object type (268-286). A cache object argument is
// a record of tag kCacheObjectTag whose payload is the address of the
// caller's object variable; member commands take it first. Both kinds of
// cache answer every member command alike (see cache_store.h).
#pragma once

#include <cstdint>

#include "runtime/rt_value.h"

namespace vlmr::component::cache {

using rt::RtValue;

// 268 Create: makes an empty object in the variable (none there yet).
void Create(RtValue* result, int32_t count, RtValue* args);
// 269 Release: releases the object and empties the variable.
void Release(RtValue* result, int32_t count, RtValue* args);
// 270 Clone (object variable, source object): the variable's object becomes
// a second handle on the source's cache.
void Clone(RtValue* result, int32_t count, RtValue* args);
// 271 CreateLocal (object, optional max entries, optional max bytes) -> bool.
void CreateLocal(RtValue* result, int32_t count, RtValue* args);
// 272 CreateMemcached (object, servers "host:port,...", optional pool size)
// -> bool.
void CreateMemcached(RtValue* result, int32_t count, RtValue* args);
// 273 Get (object, key) -> byte array; 274 GetText -> text.
void Get(RtValue* result, int32_t count, RtValue* args);
void GetText(RtValue* result, int32_t count, RtValue* args);
// 275 Set (object, key, byte array, optional expiry) -> bool; 276 SetText
// with a text.
void Set(RtValue* result, int32_t count, RtValue* args);
void SetText(RtValue* result, int32_t count, RtValue* args);
// 277 MultiGet (object, table variable, key, key, ...) -> bool; 278
// MultiGetText. The table: see docs/component.md.
void MultiGet(RtValue* result, int32_t count, RtValue* args);
void MultiGetText(RtValue* result, int32_t count, RtValue* args);
// 279 Exists, 280 Delete (object, key) -> bool; 281 Clear (object) -> bool.
void Exists(RtValue* result, int32_t count, RtValue* args);
void Delete(RtValue* result, int32_t count, RtValue* args);
void Clear(RtValue* result, int32_t count, RtValue* args);
// 282 Incr, 283 Decr (object, key, optional step, optional expiry) -> int64,
// -1 on failure.
void Incr(RtValue* result, int32_t count, RtValue* args);
void Decr(RtValue* result, int32_t count, RtValue* args);
// 284 SetExpire (object, key, optional expiry) -> bool.
void SetExpire(RtValue* result, int32_t count, RtValue* args);
// 285 Count (object) -> int64, -1 on failure.
void Count(RtValue* result, int32_t count, RtValue* args);
// 286 Add (object, key, byte array, optional expiry) -> bool.
void Add(RtValue* result, int32_t count, RtValue* args);

}  // namespace vlmr::component::cache
