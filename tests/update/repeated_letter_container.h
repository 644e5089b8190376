// Manifest containers of a huge text that the tests never hold: one letter
// repeated, deflated piece by piece.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <string>

#include "update/manifest_container.h"

namespace vlmr::update {

// A container of `textBytes` repeated letters, deflated piece by piece so the
// test itself never holds the text.
inline std::string RepeatedLetterContainer(size_t textBytes, uint32_t sizeWord) {
  z_stream zs{};
  deflateInit(&zs, Z_BEST_COMPRESSION);
  const std::string piece(1 << 20, 'a');
  std::string out = EncodeManifestContainer("", sizeWord).substr(0, 8);
  char buffer[1 << 16];
  for (size_t fed = 0; fed <= textBytes; fed += piece.size()) {
    const size_t n = std::min(piece.size(), textBytes - std::min(textBytes, fed));
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
    zs.avail_in = static_cast<uInt>(n);
    const int flush = fed + piece.size() > textBytes ? Z_FINISH : Z_NO_FLUSH;
    do {
      zs.next_out = reinterpret_cast<Bytef*>(buffer);
      zs.avail_out = sizeof buffer;
      deflate(&zs, flush);
      out.append(buffer, sizeof buffer - zs.avail_out);
    } while (zs.avail_out == 0);
  }
  deflateEnd(&zs);
  return out;
}

}  // namespace vlmr::update
