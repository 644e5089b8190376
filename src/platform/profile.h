// Private-profile (INI) files with the Windows semantics the settings rely on.
#pragma once

#include <string>
#include <string_view>

namespace vlmr::platform {

inline constexpr size_t kProfileResultLimit = 10240;

// GetPrivateProfileStringA for one key: section and key match without regard
// to ASCII letter case; the value is trimmed of surrounding blanks and of one
// pair of surrounding quotes; a present key with an empty value gives "";
// the default is returned only when the file, section or key is absent. The
// result is cut to kProfileResultLimit - 1 bytes.
std::string ReadProfileString(std::string_view gbkFile, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

// WritePrivateProfileStringA: replaces the key's line in place, adds a new key
// at the end of its section and a new section at the end of the file, keeps
// every other line byte for byte, writes CRLF for new lines and creates the
// file on first write. An absent key (nullptr) deletes the section, an absent
// value (nullptr) deletes the key. The file is replaced atomically (temporary
// file and rename). False when it cannot be written.
bool WriteProfileString(std::string_view gbkFile, const char* section, const char* key,
                        const char* value);

}  // namespace vlmr::platform
