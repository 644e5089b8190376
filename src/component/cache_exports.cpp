#include "component/cache_exports.h"

#include "component/command_slots.h"

namespace {
using namespace vlmr::component;
}  // namespace

#define VLMR_DEFINE_CACHE_EXPORT(name, command)                                             \
  extern "C" void name(vlmr::rt::RtValue* result, int32_t count, vlmr::rt::RtValue* args) { \
    CommandEntry(command)(result, count, args);                                             \
  }
VLMR_CACHE_EXPORTS(VLMR_DEFINE_CACHE_EXPORT)
#undef VLMR_DEFINE_CACHE_EXPORT
