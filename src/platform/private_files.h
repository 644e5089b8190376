// Files that only the current user controls: a folder private to the user for
// what the launcher unpacks, the check that a file (and the folder holding it)
// cannot have been planted or changed by another local user, and writing a
// file into such a folder in one step.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vlmr::platform {

// The user's private folder for the launcher's unpacked files, made when
// missing: a folder that only the user may enter. Nothing, with the reason in
// *why, when none can be had (for example a folder of that name that belongs
// to another user).
std::optional<std::filesystem::path> UserPrivateFolder(std::string* why);

// Empty when the file may be trusted: a regular file that belongs to the user
// or to the administrator, which no one else may write, in a folder of which
// the same holds. Otherwise why not (English, for standard error).
std::string WhyUntrusted(const std::filesystem::path& file);

// Writes `bytes` to `file` in a folder the user controls, readable and
// executable by the user alone: first under a name of its own beside it, then
// renamed into place, so that a second launcher never finds half a file.
// False, with the system's reason in *why, when it cannot.
bool WritePrivateFile(const std::filesystem::path& file, std::string_view bytes,
                      std::string* why);

}  // namespace vlmr::platform
