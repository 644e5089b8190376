// The names the launcher reserves in the game folder besides LoginConfig.ini:
// a partial download lies beside its target under the target's name with a
// reserved suffix (so the final rename stays on one file system), and
// everything else the launcher keeps (its lock, the record of partial
// downloads) lives in one folder of its own. No manifest entry may name them.
#pragma once

#include <string>
#include <string_view>

namespace vlmr::update {

inline constexpr std::string_view kPartialSuffix = ".vlmr-part";
inline constexpr std::string_view kLauncherFolder = ".vlmr";

// True for a relative GBK path ("\" or "/" separated) that names the
// launcher's folder or something inside it, or that ends in the partial
// suffix; letter case aside, as the file system reads names.
bool IsReservedPath(std::string_view gbkRelativePath);

// "<program directory>\.vlmr\<name>".
std::string LauncherFolderFile(std::string_view programDirectory, std::string_view name);
// Makes the launcher's folder when it is missing; false when it cannot.
bool EnsureLauncherFolder(std::string_view programDirectory);

}  // namespace vlmr::update
