#include "component/module/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>

#include "platform/codepage.h"

namespace vlmr::component {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// GB18030 agrees with code page 936 on every two-byte code and gives each
// other Unicode character a four-byte code, so no character is lost in a
// conversion to the launcher's texts.
constexpr const char* kLauncherCharset = "GB18030";

struct Charset {
  const char* iconvName;
  size_t unitSize;            // bytes skipped past a malformed unit
  std::string_view question;  // '?' in this charset
};

Charset CharsetOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom: return {"UTF-8", 1, "?"};
    case TextEncoding::Utf16Le: return {"UTF-16LE", 2, std::string_view("?\0", 2)};
    case TextEncoding::Utf16Be: return {"UTF-16BE", 2, std::string_view("\0?", 2)};
    case TextEncoding::Gbk: break;
  }
  return {kLauncherCharset, 1, "?"};
}

std::string_view MarkOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8Bom: return kUtf8Mark;
    case TextEncoding::Utf16Le: return kUtf16LeMark;
    case TextEncoding::Utf16Be: return kUtf16BeMark;
    default: return {};
  }
}

// Converts with iconv; each malformed or cut-off unit of the input becomes '?'
// in the output and the conversion goes on after it.
std::string Convert(std::string_view input, const Charset& from, const Charset& to) {
  iconv_t cd = iconv_open(to.iconvName, from.iconvName);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out;
  std::array<char, 4096> buffer;
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), static_cast<size_t>(outPtr - buffer.data()));
    if (rc != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ or EINVAL: skip one unit of the input.
    const size_t skip = std::min(from.unitSize, inLeft);
    in += skip;
    inLeft -= skip;
    out.append(to.question);
  }
  char* outPtr = buffer.data();
  size_t outLeft = buffer.size();
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);  // flush any shift state
  out.append(buffer.data(), static_cast<size_t>(outPtr - buffer.data()));
  iconv_close(cd);
  return out;
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
  return Convert(body, CharsetOf(encoding), CharsetOf(TextEncoding::Gbk));
}

std::string EncodeFromGbk(std::string_view gbk, TextEncoding encoding) {
  if (encoding == TextEncoding::Gbk) return std::string(gbk);
  return std::string(MarkOf(encoding)) +
         Convert(gbk, CharsetOf(TextEncoding::Gbk), CharsetOf(encoding));
}

}  // namespace vlmr::component
