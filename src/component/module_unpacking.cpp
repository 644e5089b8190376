#include "component/module_unpacking.h"

#include <lzma.h>

#include <cstdlib>
#include <cstring>
#include <optional>

#include "component/packed_module_layout.h"

namespace vlmr::component {
namespace {

// A module larger than this is no module of ours.
constexpr uint32_t kLargestModule = 256u * 1024 * 1024;

uint32_t LittleEndian32(const char* bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

std::optional<std::string> Decode(std::string_view packed) {
  if (packed.size() <= packed::kHeaderSize ||
      LittleEndian32(packed.data()) != packed::kPropertiesLength) {
    return std::nullopt;
  }
  const char* properties = packed.data() + 4;
  const uint32_t size = LittleEndian32(properties + packed::kPropertiesLength);
  if (size == 0 || size > kLargestModule) return std::nullopt;

  lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
  if (lzma_properties_decode(&filters[0], nullptr,
                             reinterpret_cast<const uint8_t*>(properties),
                             packed::kPropertiesLength) != LZMA_OK) {
    return std::nullopt;
  }
  // The size is known: the stream may or may not end with a marker.
  auto* options = static_cast<lzma_options_lzma*>(filters[0].options);
  filters[0].id = LZMA_FILTER_LZMA1EXT;
  options->ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;
  options->ext_size_low = size;
  options->ext_size_high = 0;

  lzma_stream stream = LZMA_STREAM_INIT;
  std::string module(size, '\0');
  lzma_ret ret = lzma_raw_decoder(&stream, filters);
  if (ret == LZMA_OK) {
    stream.next_in = reinterpret_cast<const uint8_t*>(packed.data() + packed::kHeaderSize);
    stream.avail_in = packed.size() - packed::kHeaderSize;
    stream.next_out = reinterpret_cast<uint8_t*>(module.data());
    stream.avail_out = module.size();
    ret = lzma_code(&stream, LZMA_FINISH);
  }
  lzma_end(&stream);
  std::free(options);
  if (ret != LZMA_STREAM_END || stream.avail_out != 0) return std::nullopt;
  return module;
}

}  // namespace

std::string UnpackModule(std::string_view packed) {
  std::optional<std::string> module = Decode(packed);
  return module ? std::move(*module) : std::string(packed);
}

}  // namespace vlmr::component
