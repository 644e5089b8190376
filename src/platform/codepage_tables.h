// The two-byte character tables behind code page 936 and GB18030, one
// character at a time: the system's own (iconv on POSIX, the code page
// functions on Windows). codepage.cpp holds the rules that combine them and
// GB18030's four-byte codes, which follow a rule of their own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vlmr::platform::tables {

// The character of one two-byte code; nullopt when the table has none.
std::optional<char32_t> DecodeCp936(std::string_view pair);
std::optional<char32_t> DecodeGb18030TwoByte(std::string_view pair);

// The bytes of one character in code page 936 (one or two bytes), or its
// GB18030 two-byte code; nullopt when the table has none.
std::optional<std::string> EncodeCp936(char32_t c);
std::optional<std::string> EncodeGb18030TwoByte(char32_t c);

}  // namespace vlmr::platform::tables
