// The character tables behind code page 936 and GB18030, one character at a
// time: the system's own (iconv on POSIX, the code page functions on
// Windows). codepage.cpp holds the rules that combine them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vlmr::platform::tables {

// The character of one complete multi-byte sequence (two bytes for code page
// 936; two or four for GB18030); nullopt when the table has none.
std::optional<char32_t> DecodeCp936(std::string_view bytes);
std::optional<char32_t> DecodeGb18030(std::string_view bytes);

// The bytes of one character; nullopt when the table has none.
std::optional<std::string> EncodeCp936(char32_t c);
std::optional<std::string> EncodeGb18030(char32_t c);

}  // namespace vlmr::platform::tables
