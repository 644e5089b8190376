#include "update/manifest_container.h"

#include <zlib.h>

#include <algorithm>

#include "update/manifest.h"

namespace vlmr::update {
namespace {

// The largest n whose 2 x n is still positive in 32 bits.
constexpr uint32_t kLargestSizeWord = 0x3FFFFFFF;

std::string LittleEndianWord(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}

}  // namespace

uint32_t ManifestSizeWord(size_t textLength) {
  return static_cast<uint32_t>(std::clamp<size_t>(textLength, 1, kLargestSizeWord));
}

std::string EncodeManifestContainer(std::string_view text, uint32_t sizeWord) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::string stream(size, '\0');
  if (text.size() != static_cast<uLong>(text.size()) ||
      compress2(reinterpret_cast<Bytef*>(stream.data()), &size,
                reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    return {};
  }
  stream.resize(size);
  return LittleEndianWord(kManifestMagic) + LittleEndianWord(sizeWord) + stream;
}

std::string EncodeManifestContainer(std::string_view text) {
  if (text.size() > kLargestSizeWord) return {};
  return EncodeManifestContainer(text, ManifestSizeWord(text.size()));
}

}  // namespace vlmr::update
