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
// result is cut to kProfileResultLimit - 1 bytes (never inside a double-byte
// character); the default loses its trailing blanks, as with Windows. As the
// read-INI-item command needs: leading bytes up to 0x20 of file, section and
// key are skipped, and when any of them is then empty the result is "" (not the
// default). Lines starting with ';' are comments; a line without '=' inside a
// section is a key with an empty value; the first matching section and key win.
std::string ReadProfileString(std::string_view gbkFile, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

// WritePrivateProfileStringA: replaces the key's line in place, adds a new key
// at the end of its section and a new section at the end of the file, keeps
// every other line byte for byte, writes CRLF for new lines and creates the
// file on first write. An absent key (nullptr) deletes the section, an absent
// value (nullptr) deletes the key. The file is replaced atomically (temporary
// file and rename). False when it cannot be written: a read-only file (owner
// write bit clear, as the Windows attribute), a missing folder, a null or blank
// section, a blank key, a section holding ']' or a line break, a key holding
// '=' or a line break, or a value holding a line break (each would change the
// file's structure). A new section is separated from the text before it by a
// blank line. Deleting what is absent succeeds without touching the file.
bool WriteProfileString(std::string_view gbkFile, const char* section, const char* key,
                        const char* value);

}  // namespace vlmr::platform
