// What the launcher and the server component's module agree on: the module's
// two entries, its information record, the numbers of the commands the
// launcher and the cache exports use, and the cache object's type tag.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/runtime_libraries.h"
#include "runtime/rt_value.h"

namespace vlmr::component {

inline constexpr char kComponentVersion[] = "2.7.2";
inline constexpr int32_t kCommandCount = 987;

// The module's entries, exported by name.
inline constexpr char kNotifyEntryName[] = "tarn_ProcessNotifyLib";
inline constexpr char kInfoEntryName[] = "GetNewInf";

// The information record. Packed to 4 bytes, so that the command array's
// address lies at byte offset 108 whatever the size of an address.
//   0  format         kModuleInfoFormat
//   4  size           bytes of the record
//   8  name           "TARN", NUL-padded
//  40  version        "2.7.2", NUL-padded
//  56  description    what the module offers, NUL-padded
// 104  commandCount   987
// 108  commands       address of the array of 987 command addresses
#pragma pack(push, 4)
struct ModuleInfo {
  uint32_t format;
  uint32_t size;
  char name[32];
  char version[16];
  char description[48];
  uint32_t commandCount;
  const rt::CommandFn* commands;
};
#pragma pack(pop)
inline constexpr uint32_t kModuleInfoFormat = 1;
inline constexpr size_t kCommandsOffset = 108;
static_assert(offsetof(ModuleInfo, commands) == kCommandsOffset);

using NotifyEntry = rt::LibraryNotifyFn;
using InfoEntry = const ModuleInfo* (*)();

// The component's number in calls of its commands (not used by the frame).
inline constexpr int32_t kServerSuiteLibrary = 2;

// Commands by number.
enum CommandNumber : int32_t {
  kReadStringFileNumber = 251,
  kWriteStringFileNumber = 252,
  // The cache object type.
  kCacheCreate = 268,
  kCacheRelease = 269,
  kCacheClone = 270,
  kCacheCreateLocal = 271,
  kCacheCreateMemcached = 272,
  kCacheGet = 273,
  kCacheGetText = 274,
  kCacheSet = 275,
  kCacheSetText = 276,
  kCacheMultiGet = 277,
  kCacheMultiGetText = 278,
  kCacheExists = 279,
  kCacheDelete = 280,
  kCacheClear = 281,
  kCacheIncr = 282,
  kCacheDecr = 283,
  kCacheSetExpire = 284,
  kCacheCount = 285,
  kCacheAdd = 286,
};

// Tag of a cache object argument: the component's library number in the high
// half and the cache's type number (9) in the low half. The payload is the
// address of the caller's object variable (a pointer-sized slot, null until
// an object is made in it).
inline constexpr uint32_t kCacheObjectTag = (uint32_t{kServerSuiteLibrary} << 16) | 9;

}  // namespace vlmr::component
