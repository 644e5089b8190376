#include "runtime/runtime_libraries.h"

#include "runtime/rt_heap.h"

namespace vlmr::rt {

intptr_t notify_runtime(int32_t request, intptr_t p1, intptr_t /*p2*/) {
  switch (request) {
    case kRequestAllocate:
      return reinterpret_cast<intptr_t>(rt_alloc(p1));
    case kRequestFree:
      rt_free(reinterpret_cast<void*>(p1));
      return 0;
    default:
      return 0;
  }
}

void NotifyRuntimeLibraries(std::span<const LibraryNotifyFn> libraries) {
  for (LibraryNotifyFn notify : libraries) {
    notify(kNotifyRuntimeCallback, reinterpret_cast<intptr_t>(&notify_runtime), 0);
  }
}

}  // namespace vlmr::rt
