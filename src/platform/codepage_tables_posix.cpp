#include "platform/codepage_tables.h"

#include <iconv.h>

#include <cstring>

namespace vlmr::platform::tables {
namespace {

// One iconv descriptor per thread and direction: iconv_t is not thread-safe,
// and opening one per call would cost more than the conversion.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() {
    if (Valid()) iconv_close(cd_);
  }
  // All of `in` converted, or nullopt.
  std::optional<std::string> Convert(std::string_view in) {
    if (!Valid()) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* source = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char buffer[16];
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    if (iconv(cd_, &source, &inLeft, &out, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
      return std::nullopt;
    }
    return std::string(buffer, sizeof buffer - outLeft);
  }

 private:
  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

// glibc's CP936 is Windows' code page 936 (GBK with 0x80 as the euro sign).
Converter& Decoder(const char* from) {
  thread_local Converter cp936("UTF-32LE", "CP936");
  thread_local Converter gb18030("UTF-32LE", "GB18030");
  return std::strcmp(from, "CP936") == 0 ? cp936 : gb18030;
}

Converter& Encoder(const char* to) {
  thread_local Converter cp936("CP936", "UTF-32LE");
  thread_local Converter gb18030("GB18030", "UTF-32LE");
  return std::strcmp(to, "CP936") == 0 ? cp936 : gb18030;
}

std::optional<char32_t> Decode(const char* from, std::string_view bytes) {
  std::optional<std::string> utf32 = Decoder(from).Convert(bytes);
  if (!utf32 || utf32->size() != 4) return std::nullopt;
  uint32_t value;
  std::memcpy(&value, utf32->data(), 4);
  return static_cast<char32_t>(value);
}

std::optional<std::string> Encode(const char* to, char32_t c) {
  char utf32[4];
  std::memcpy(utf32, &c, 4);
  return Encoder(to).Convert(std::string_view(utf32, 4));
}

}  // namespace

std::optional<char32_t> DecodeCp936(std::string_view pair) { return Decode("CP936", pair); }
std::optional<char32_t> DecodeGb18030TwoByte(std::string_view pair) { return Decode("GB18030", pair); }
std::optional<std::string> EncodeCp936(char32_t c) { return Encode("CP936", c); }
std::optional<std::string> EncodeGb18030TwoByte(char32_t c) {
  std::optional<std::string> bytes = Encode("GB18030", c);
  return bytes && bytes->size() == 2 ? bytes : std::nullopt;
}

}  // namespace vlmr::platform::tables
