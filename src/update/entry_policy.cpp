#include "update/entry_policy.h"

#include <algorithm>

#include "platform/native_path.h"
#include "update/reserved_names.h"
#include "update/safe_relative_path.h"

namespace vlmr::update {

std::optional<std::string> WhyRefused(const ManifestEntry& entry, const char* localPath) {
  const std::string_view relative = entry.RelativePath.view();
  if (!IsSafeRelativePath(relative)) return "refused manifest path outside the game folder";
  if (IsReservedPath(relative)) return "refused manifest path among the launcher's own names";
  // The partial download is the longest name written for the entry.
  if (!platform::FitsPathLimits(std::string(localPath) + std::string(kPartialSuffix))) {
    return "refused manifest path longer than the system allows";
  }
  return std::nullopt;
}

std::string IndexKeyOf(const ManifestEntry& entry) {
  std::string key(entry.RelativePath.view());
  std::replace(key.begin(), key.end(), '/', '\\');  // '/' is never a GBK trail byte
  return key;
}

}  // namespace vlmr::update
