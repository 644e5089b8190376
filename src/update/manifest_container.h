// Packing a manifest text into the container the update server serves: the
// magic, the size word n (the decoder allows 2 x n bytes of text) and the text
// as one zlib stream. The operator tools, the tests and the fuzz target make
// their containers with it; the launcher only decodes (manifest.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vlmr::update {

// The size word the encoder writes for a text: its length (at least 1), so
// 2 x n leaves room to spare.
uint32_t ManifestSizeWord(size_t textLength);

// The container for `text` with the given size word, or the empty string when
// zlib cannot compress the text (it is too large for one call).
std::string EncodeManifestContainer(std::string_view text, uint32_t sizeWord);

// The same with the size word ManifestSizeWord(text.size()); the empty string
// also when the text is too long for any size word (more than 1 GiB).
std::string EncodeManifestContainer(std::string_view text);

}  // namespace vlmr::update
