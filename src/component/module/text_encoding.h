// Character encodings of whole text files, for the text-file commands:
// detection from the file's bytes, the names under which the commands report
// and accept them, and conversion to and from the launcher's GBK texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vlmr::component {

enum class TextEncoding {
  Gbk,      // code page 936; also the answer for plain ASCII
  Utf8,     // UTF-8 without a byte-order mark
  Utf8Bom,  // UTF-8 after the mark EF BB BF
  Utf16Le,  // UTF-16 little-endian after the mark FF FE
  Utf16Be,  // UTF-16 big-endian after the mark FE FF
};

// A byte-order mark decides; without one, bytes that hold a non-ASCII
// character and are valid UTF-8 throughout are UTF-8; anything else is GBK.
TextEncoding DetectEncoding(std::string_view fileBytes);

// "GBK", "UTF-8", "UTF-8-BOM", "UTF-16LE", "UTF-16BE".
const char* EncodingName(TextEncoding encoding);
// The encoding of one of those names, compared without regard to ASCII case;
// nothing for any other name.
std::optional<TextEncoding> EncodingFromName(std::string_view name);

// The file's text as GBK bytes, its byte-order mark dropped and its line
// breaks unchanged. GBK files are taken byte for byte. Characters that code
// page 936 lacks take their four-byte GB18030 form, so that a read followed
// by a write gives the same characters back; malformed input becomes '?'.
std::string DecodeToGbk(std::string_view fileBytes, TextEncoding encoding);
// The bytes of a file in `encoding` holding the GBK text (with the mark for
// Utf8Bom, Utf16Le and Utf16Be). GBK is written byte for byte.
std::string EncodeFromGbk(std::string_view gbk, TextEncoding encoding);

}  // namespace vlmr::component
