// Matching file names without regard to letter case, as Windows file systems
// do, on a case-sensitive native file system.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vlmr::platform {

// A UTF-8 name folded for comparison: each character in upper case (the
// folding NTFS uses). Bytes that are not valid UTF-8 stay distinct from every
// character, with only ASCII letters folded.
std::u32string FoldedName(std::string_view utf8Name);

// The entry of the native directory (empty: the current one) whose name equals
// `utf8Name` without regard to case; the smallest such name when there are
// several, so the choice is stable. Empty when there is none.
std::optional<std::string> FindEntryIgnoringCase(const std::string& nativeDirectory,
                                                 std::string_view utf8Name);

}  // namespace vlmr::platform
