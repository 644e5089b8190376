// Launcher paths (GBK, "\" separators, possibly doubled, maybe a drive prefix)
// to native paths (UTF-8, "/"). Where a component's exact name is missing, an
// existing entry whose name matches case-insensitively is used, as Windows does.
#pragma once

#include <string>
#include <string_view>

namespace vlmr::platform {

// "\\" and "/" both separate; repeated separators count as one. A leading
// drive ("C:") is dropped and the rest taken from the root. Each existing
// component is matched exactly first, then case-insensitively (names decoded
// and compared in upper case, as NTFS does). Missing components are kept as
// written; a trailing separator is kept as "/". GBK double-byte characters whose
// second byte is 0x5C are not split. An empty or over-long path (more than
// 32767 bytes, or a result beyond PATH_MAX) gives an empty result.
std::string ToNativePath(std::string_view gbkPath);
// True when the path's native form keeps within the system's limits: the
// whole path (PATH_MAX) and each of its names (NAME_MAX bytes).
bool FitsPathLimits(std::string_view gbkPath);
// The reverse: a native UTF-8 path to a launcher path (GBK, "\" separators).
std::string ToLauncherPath(std::string_view nativePath);

}  // namespace vlmr::platform
