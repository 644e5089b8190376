// What installing a downloaded file needs, by launcher path (GBK, "\"
// separators): 64-bit sizes, removing a file, putting one file in another's
// place in one step, and following the symbolic links on the way to a target
// only where the player (or the administrator) made them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vlmr::platform {

// The size of a file in bytes; nullopt when it is missing or a directory.
std::optional<int64_t> FileSize64(std::string_view gbkPath);

// Removes a file; true when it is gone (also when it was never there).
bool RemoveFile(std::string_view gbkPath);

// Renames `from` over `to` in one step: whoever opens `to` meanwhile finds the
// old file or the new one, never a mix. Both lie in one folder (one file
// system). False with the system's reason in *why when it cannot.
bool ReplaceFile(std::string_view gbkFrom, std::string_view gbkTo, std::string* why);

// Where a file below `gbkTop` is really written. Links on the way that belong
// to the current user or to the administrator are followed (a player may have
// moved a big data folder to another disk); a final link leads to the file it
// names, so the launcher path returned is that file's. A link that belongs to
// anyone else is refused: `refusedLink` then names it and `gbkTarget` is empty.
struct InstallTarget {
  std::string gbkTarget;
  std::string refusedLink;  // native path of a link owned by another user
};
InstallTarget ResolveInstallTarget(std::string_view gbkTop, std::string_view gbkPath);

// The whole content of a small file the launcher keeps; nullopt when it is
// missing, unreadable or larger than `maxBytes`.
std::optional<std::string> ReadSmallFile(std::string_view gbkPath, int64_t maxBytes);

// Replaces a file's content in one step (a temporary file beside it, then a
// rename): readers find the old content or the new, never a part.
bool WriteFileAtomically(std::string_view gbkPath, std::string_view bytes);

// The system's text for the error of the last failed call on this thread
// ("No space left on device").
std::string LastSystemError();

}  // namespace vlmr::platform
