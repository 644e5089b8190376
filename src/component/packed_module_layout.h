// How the component's module is stored inside the launcher, little-endian:
//   4 bytes  length of the LZMA properties (5)
//   5 bytes  the properties: lc/lp/pb byte 0x5D (lc 3, lp 0, pb 2), then the
//            dictionary size 0x01000000 (16 MiB)
//   4 bytes  the unpacked size (the module's size in bytes)
//   the rest the raw LZMA1 stream, without an end marker
// This is the LZMA SDK's one-call layout. The build packs the module so
// (packer/pack_module.cpp) and the loader unpacks it (module_unpacking.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vlmr::component::packed {

inline constexpr uint32_t kPropertiesLength = 5;
inline constexpr uint8_t kPropertiesByte = 0x5D;
inline constexpr uint32_t kDictionarySize = 16u * 1024 * 1024;
inline constexpr size_t kHeaderSize = 4 + kPropertiesLength + 4;

}  // namespace vlmr::component::packed
