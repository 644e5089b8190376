// Build tool: packs the component's module into the layout the launcher
// carries it in (component/packed_module_layout.h): the LZMA properties, the
// unpacked size and the raw LZMA1 stream, made with liblzma.
//
//   pack_module MODULE PACKED
#include <lzma.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "component/packed_module_layout.h"

namespace {

namespace packed = vlmr::component::packed;

void AppendLittleEndian32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(value >> shift));
}

bool Pack(const std::string& module, std::string& out) {
  lzma_options_lzma options;
  if (lzma_lzma_preset(&options, LZMA_PRESET_DEFAULT) != 0) return false;
  options.dict_size = packed::kDictionarySize;
  options.lc = 3;
  options.lp = 0;
  options.pb = 2;
  options.ext_flags = 0;  // no end marker: the layout carries the size
  lzma_filter filters[2] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};

  lzma_filter described = {LZMA_FILTER_LZMA1, &options};
  uint8_t properties[packed::kPropertiesLength];
  if (lzma_properties_encode(&described, properties) != LZMA_OK ||
      properties[0] != packed::kPropertiesByte) {
    return false;
  }
  AppendLittleEndian32(out, packed::kPropertiesLength);
  out.append(reinterpret_cast<const char*>(properties), sizeof properties);
  AppendLittleEndian32(out, static_cast<uint32_t>(module.size()));

  lzma_stream stream = LZMA_STREAM_INIT;
  if (lzma_raw_encoder(&stream, filters) != LZMA_OK) return false;
  stream.next_in = reinterpret_cast<const uint8_t*>(module.data());
  stream.avail_in = module.size();
  lzma_ret ret = LZMA_OK;
  uint8_t buffer[1 << 16];
  while (ret == LZMA_OK) {
    stream.next_out = buffer;
    stream.avail_out = sizeof buffer;
    ret = lzma_code(&stream, LZMA_FINISH);
    out.append(reinterpret_cast<const char*>(buffer), sizeof buffer - stream.avail_out);
  }
  lzma_end(&stream);
  return ret == LZMA_STREAM_END;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pack_module MODULE PACKED\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string module((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    std::fprintf(stderr, "pack_module: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string out;
  if (module.empty() || module.size() > std::numeric_limits<uint32_t>::max() || !Pack(module, out)) {
    std::fprintf(stderr, "pack_module: cannot pack %s\n", argv[1]);
    return 1;
  }
  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  if (!file.flush()) {
    std::fprintf(stderr, "pack_module: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
