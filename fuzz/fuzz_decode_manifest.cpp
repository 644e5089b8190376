// libFuzzer target: DecodeManifest on arbitrary bodies. An input whose first
// byte is even is taken as the body as it is (container parsing, inflating);
// an odd one as a size word and a text that the harness packs into a valid
// container (so mutations reach the line and field splitting). Besides the
// sanitizers' checks it asserts what the decoder promises: every field it
// returns is free of tabs and of "\r\n" pairs (both stepped over GBK
// double-byte characters), and the empty text is null.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "runtime/rt_blocks.h"
#include "update/manifest.h"
#include "update/manifest_container.h"

namespace {

void CheckField(const vlmr::rt::Text& field) {
  std::string_view text = field.view();
  if (field.get() && text.empty()) std::abort();  // the empty text is null
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (vlmr::platform::IsGbkLeadByte(c)) {
      ++i;  // the trail byte of a double-byte character
    } else if (c == '\t' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
      std::abort();
    }
  }
}

// The size word from the input and the rest of the input packed as the text.
std::string PackedContainer(const uint8_t* data, size_t size) {
  if (size < 4) return {};
  uint32_t sizeWord;
  std::memcpy(&sizeWord, data, 4);
  return vlmr::update::EncodeManifestContainer(
      std::string_view(reinterpret_cast<const char*>(data + 4), size - 4), sizeWord);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string packed;
  if (data[0] & 1) {
    packed = PackedContainer(data + 1, size - 1);
    data = reinterpret_cast<const uint8_t*>(packed.data());
    size = packed.size();
  } else {
    ++data;
    --size;
  }
  vlmr::rt::Bytes body(vlmr::rt::NewByteArray(data, static_cast<int64_t>(size)));
  for (const vlmr::update::ManifestEntry& entry : vlmr::update::DecodeManifest(body.get())) {
    CheckField(entry.RelativePath);
    CheckField(entry.Md5);
    CheckField(entry.Url);
  }
  return 0;
}
