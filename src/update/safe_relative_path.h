// Whether a manifest path stays below the program directory. The update run
// joins the program directory, "\" and the manifest's path; a path that names a
// drive or a server share, or climbs out with "..", would reach files outside
// the game folder, so such entries are refused.
#pragma once

#include <string_view>

namespace vlmr::update {

// True for a non-empty GBK path whose components ("\" or "/" separated; a
// GBK trail byte is no separator) are plain names: no ":" (drive or stream),
// no ".." (nor a name of only dots and blanks that Windows reads as ".."),
// and no leading doubled separator (a server share). One leading separator is
// allowed: the joined path then has a doubled separator, which counts as one.
bool IsSafeRelativePath(std::string_view gbkPath);

}  // namespace vlmr::update
