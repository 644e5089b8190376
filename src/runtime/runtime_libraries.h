// The runtime libraries: modules built beside the launcher logic (the server
// component among them) that the runtime notifies during its initialisation.
//
// Each library has a notification entry. Initialisation calls every entry once
// with kNotifyRuntimeCallback and the runtime's own callback, through which a
// library takes and gives back heap blocks: a library living in a module of
// its own must hand out texts and arrays that the launcher frees with rt_free.
#pragma once

#include <cstdint>
#include <span>

namespace vlmr::rt {

// What the runtime tells a library: (code, parameter 1, parameter 2).
using LibraryNotifyFn = intptr_t (*)(int32_t code, intptr_t p1, intptr_t p2);
// p1: the runtime's callback (a RuntimeCallback); p2: 0.
inline constexpr int32_t kNotifyRuntimeCallback = 1;

// What a library asks the runtime: (request, parameter 1, parameter 2).
using RuntimeCallback = intptr_t (*)(int32_t request, intptr_t p1, intptr_t p2);
// p1: byte count. Returns a new heap block (rt_alloc).
inline constexpr int32_t kRequestAllocate = 1;
// p1: block, null or a constant-pool pointer. Returns 0 (rt_free).
inline constexpr int32_t kRequestFree = 3;

// The runtime's callback. An unknown request returns 0.
intptr_t notify_runtime(int32_t request, intptr_t p1, intptr_t p2);

// Hands the runtime's callback to each library, in order.
void NotifyRuntimeLibraries(std::span<const LibraryNotifyFn> libraries);

}  // namespace vlmr::rt
