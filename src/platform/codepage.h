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

std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);
// Unconvertible characters become '?'; invalid sequences U+FFFD / '?'.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);
bool IsValidUtf8(std::string_view bytes);
// The characters of a UTF-8 text; each invalid sequence becomes U+FFFD and sets
// *invalid when given.
std::u32string Utf8ToCodePoints(std::string_view utf8, bool* invalid = nullptr);

// True when byte c starts a GBK double-byte character.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x80; }

}  // namespace vlmr::platform
