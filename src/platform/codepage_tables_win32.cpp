#include "platform/codepage_tables.h"

#include <windows.h>

namespace vlmr::platform::tables {
namespace {

constexpr UINT kCp936 = 936;
constexpr UINT kGb18030 = 54936;

std::optional<char32_t> Decode(UINT codePage, std::string_view bytes) {
  wchar_t units[2];
  const int n = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), units, 2);
  if (n == 1) return static_cast<char32_t>(units[0]);
  if (n == 2 && units[0] >= 0xD800 && units[0] < 0xDC00 && units[1] >= 0xDC00 && units[1] < 0xE000) {
    return 0x10000 + ((static_cast<char32_t>(units[0]) - 0xD800) << 10) + (units[1] - 0xDC00);
  }
  return std::nullopt;
}

std::optional<std::string> Encode(UINT codePage, char32_t c) {
  wchar_t units[2];
  int count = 1;
  if (c >= 0x10000) {
    units[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    count = 2;
  } else {
    units[0] = static_cast<wchar_t>(c);
  }
  char bytes[8];
  BOOL usedDefault = FALSE;
  // Code page 54936 takes no default-character arguments; it has every character.
  BOOL* defaultFlag = codePage == kGb18030 ? nullptr : &usedDefault;
  const DWORD flags = codePage == kGb18030 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int n = ::WideCharToMultiByte(codePage, flags, units, count, bytes, sizeof bytes, nullptr, defaultFlag);
  if (n <= 0 || usedDefault) return std::nullopt;
  return std::string(bytes, static_cast<size_t>(n));
}

}  // namespace

std::optional<char32_t> DecodeCp936(std::string_view pair) { return Decode(kCp936, pair); }
std::optional<char32_t> DecodeGb18030TwoByte(std::string_view pair) { return Decode(kGb18030, pair); }
std::optional<std::string> EncodeCp936(char32_t c) { return Encode(kCp936, c); }
std::optional<std::string> EncodeGb18030TwoByte(char32_t c) {
  std::optional<std::string> bytes = Encode(kGb18030, c);
  return bytes && bytes->size() == 2 ? bytes : std::nullopt;
}

}  // namespace vlmr::platform::tables
