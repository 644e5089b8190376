// Code page 936 (GBK) conversions. Launcher texts are GBK inside; UTF-8 is used
// only at the edges (file names, rendering, terminal output).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vlmr::platform {

inline constexpr uint32_t kCodePageGbk = 936;
inline constexpr uint32_t kCodePageUtf8 = 65001;

// MultiByteToWideChar with its counting rules: with length -1 the input runs to
// its NUL and the count includes the terminator; otherwise exactly `length`
// bytes. With outCapacity 0 returns the units needed; otherwise writes at most
// outCapacity units and returns the count written, or 0 when they do not fit.
// Invalid GBK sequences become U+FFFD. Code pages other than 936, 65001, 0 (the
// active code page, treated as 936) and 20127 give 0.
int MultiByteToWideChar(uint32_t codePage, uint32_t flags, const char* text, int length,
                        char16_t* out, int outCapacity);

// The launcher's GBK is code page 936 (0x80 is the euro sign) extended by
// GB18030's four-byte sequences: decoding reads both, encoding writes code
// page 936 where it can and a four-byte sequence only for a character it
// lacks, so every character a file name can hold survives a round trip.
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);
// Invalid sequences become U+FFFD; characters no encoding has (lone
// surrogates) become '?'.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);
bool IsValidUtf8(std::string_view bytes);
// The characters of a UTF-8 text; each invalid sequence becomes U+FFFD and sets
// *invalid when given.
std::u32string Utf8ToCodePoints(std::string_view utf8, bool* invalid = nullptr);

// True when byte c starts a multi-byte character: 0x81 to 0xFE. In code page
// 936, 0x80 (the euro sign) and 0xFF are characters of one byte. A GB18030
// four-byte character is two such units (lead, digit, lead, digit), so
// stepping by pairs never finds an ASCII byte inside one either.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace vlmr::platform
