#include "component/module/text_encoding.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "platform/codepage.h"

namespace vlmr::component {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::string_view MarkOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8Bom: return kUtf8Mark;
    case TextEncoding::Utf16Le: return kUtf16LeMark;
    case TextEncoding::Utf16Be: return kUtf16BeMark;
    default: return {};
  }
}

// UTF-16 code units from bytes in the given order; an odd last byte is a
// malformed unit.
std::u16string Utf16Units(std::string_view bytes, bool bigEndian, bool& oddByte) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
  }
  oddByte = bytes.size() % 2 != 0;
  return units;
}

std::string Utf16Bytes(std::u16string_view units, bool bigEndian) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

bool HasNonAscii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiUpper(x) == AsciiUpper(y);
         });
}

constexpr std::array kAllEncodings = {TextEncoding::Gbk, TextEncoding::Utf8, TextEncoding::Utf8Bom,
                                      TextEncoding::Utf16Le, TextEncoding::Utf16Be};

}  // namespace

TextEncoding DetectEncoding(std::string_view fileBytes) {
  if (fileBytes.starts_with(kUtf8Mark)) return TextEncoding::Utf8Bom;
  if (fileBytes.starts_with(kUtf16LeMark)) return TextEncoding::Utf16Le;
  if (fileBytes.starts_with(kUtf16BeMark)) return TextEncoding::Utf16Be;
  if (HasNonAscii(fileBytes) && platform::IsValidUtf8(fileBytes)) return TextEncoding::Utf8;
  return TextEncoding::Gbk;
}

const char* EncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf8Bom: return "UTF-8-BOM";
    case TextEncoding::Utf16Le: return "UTF-16LE";
    case TextEncoding::Utf16Be: return "UTF-16BE";
    case TextEncoding::Gbk: break;
  }
  return "GBK";
}

std::optional<TextEncoding> EncodingFromName(std::string_view name) {
  for (TextEncoding encoding : kAllEncodings) {
    if (EqualIgnoringAsciiCase(name, EncodingName(encoding))) return encoding;
  }
  return std::nullopt;
}

std::string DecodeToGbk(std::string_view fileBytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Gbk) return std::string(fileBytes);
  std::string_view body = fileBytes;
  if (body.starts_with(MarkOf(encoding))) body.remove_prefix(MarkOf(encoding).size());
  if (encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom) return platform::Utf8ToGbk(body);
  bool oddByte = false;
  const std::u16string units = Utf16Units(body, encoding == TextEncoding::Utf16Be, oddByte);
  return platform::Utf16ToGbk(units) + (oddByte ? "?" : "");
}

std::string EncodeFromGbk(std::string_view gbk, TextEncoding encoding) {
  if (encoding == TextEncoding::Gbk) return std::string(gbk);
  const std::string_view mark = MarkOf(encoding);
  if (encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom) {
    return std::string(mark) + platform::GbkToUtf8(gbk);
  }
  return std::string(mark) + Utf16Bytes(platform::GbkToUtf16(gbk), encoding == TextEncoding::Utf16Be);
}

}  // namespace vlmr::component
