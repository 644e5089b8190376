// The numbers of the settings file: stored values are decimal texts that may
// be written with full-width (GBK) characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vlmr::settings {

// The text with each GBK full-width character (lead byte 0xA3: digits, signs,
// points, letters) replaced by its ASCII form and the full-width space 0xA1A1
// by a blank; other double-byte characters are kept whole.
std::string FullWidthToAscii(std::string_view gbk);

// A stored value as the settings read it: full-width forms taken as ASCII,
// the leading decimal number (as atof reads it; none gives 0) truncated toward
// zero, its low 32 bits kept.
int32_t SettingsNumber(const char* gbkText);

}  // namespace vlmr::settings
