#include "platform/native_path.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include "platform/codepage.h"
#include "platform/name_matching.h"

namespace vlmr::platform {
namespace {

// Launcher paths longer than this are refused; the native result must also fit
// the system's path limit.
constexpr size_t kMaxLauncherPathBytes = 32767;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrivePrefix(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return false;
  char letter = path[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

// Components of a UTF-8 path; separators (either kind, repeated or not) only
// divide. UTF-8 never hides an ASCII byte inside a multibyte character, so the
// split is safe once the GBK text is converted.
std::vector<std::string_view> SplitComponents(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t pos = 0;
  while (pos < path.size()) {
    while (pos < path.size() && IsSeparator(path[pos])) ++pos;
    size_t end = pos;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    if (end > pos) parts.push_back(path.substr(pos, end - pos));
    pos = end;
  }
  return parts;
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

std::string JoinComponent(const std::string& prefix, std::string_view component) {
  if (prefix.empty()) return std::string(component);
  if (prefix.back() == '/') return prefix + std::string(component);
  return prefix + "/" + std::string(component);
}

// Appends `component` to `resolved`, using the directory's entry that matches
// without regard to case when the exact name is missing. False when neither
// exists: nothing below it can exist either.
bool AppendMatching(std::string& resolved, std::string_view component) {
  std::string next = JoinComponent(resolved, component);
  bool found = component == "." || component == ".." || Exists(next);
  if (!found) {
    if (std::optional<std::string> match = FindEntryIgnoringCase(resolved, component)) {
      next = JoinComponent(resolved, *match);
      found = true;
    }
  }
  resolved = std::move(next);
  return found;
}

}  // namespace

std::string ToNativePath(std::string_view gbkPath) {
  if (gbkPath.empty() || gbkPath.size() > kMaxLauncherPathBytes) return {};
  bool rooted = HasDrivePrefix(gbkPath);
  if (rooted) gbkPath.remove_prefix(2);
  rooted = rooted || (!gbkPath.empty() && IsSeparator(gbkPath.front()));
  std::string utf8 = GbkToUtf8(gbkPath);
  if (utf8.size() >= PATH_MAX) return {};  // before any look at the disk
  bool trailingSeparator = !utf8.empty() && IsSeparator(utf8.back());
  const std::vector<std::string_view> components = SplitComponents(utf8);
  const std::string root = rooted ? "/" : "";

  // The common cases in one look each: the path exists as written, or its
  // folder does (a file about to be made). Only otherwise is each component
  // looked up, so the work stays proportional to the path's length.
  std::string exact = root;
  for (std::string_view component : components) exact = JoinComponent(exact, component);
  std::string result;
  if (Exists(exact)) {
    result = std::move(exact);
  } else {
    std::string parent = root;
    for (size_t i = 0; i + 1 < components.size(); ++i) parent = JoinComponent(parent, components[i]);
    size_t first = 0;  // the first component still to resolve
    if (!components.empty() && (components.size() == 1 || Exists(parent))) {
      result = std::move(parent);
      first = components.size() - 1;
    } else {
      result = root;
    }
    bool matching = true;  // stays true while every component so far exists
    for (size_t i = first; i < components.size(); ++i) {
      if (matching) {
        matching = AppendMatching(result, components[i]);
      } else {
        result = JoinComponent(result, components[i]);
      }
    }
  }
  if (trailingSeparator && !result.empty() && result.back() != '/') result += '/';
  if (result.size() >= PATH_MAX) return {};
  return result;
}

bool FitsPathLimits(std::string_view gbkPath) {
  // Lengths only: a name matched without regard to case has the length of
  // the name as written, so the disk need not be asked.
  if (gbkPath.empty() || gbkPath.size() > kMaxLauncherPathBytes) return false;
  if (HasDrivePrefix(gbkPath)) gbkPath.remove_prefix(2);
  const std::string utf8 = GbkToUtf8(gbkPath);
  if (utf8.size() + 1 >= PATH_MAX) return false;
  const std::vector<std::string_view> names = SplitComponents(utf8);
  return std::none_of(names.begin(), names.end(),
                      [](std::string_view name) { return name.size() > NAME_MAX; });
}

std::string ToLauncherPath(std::string_view nativePath) {
  std::string gbk = Utf8ToGbk(nativePath);
  // Only '/' bytes outside double-byte characters are separators.
  for (size_t i = 0; i < gbk.size(); ++i) {
    auto c = static_cast<unsigned char>(gbk[i]);
    if (IsGbkLeadByte(c) && i + 1 < gbk.size()) {
      ++i;
    } else if (c == '/') {
      gbk[i] = '\\';
    }
  }
  return gbk;
}

}  // namespace vlmr::platform
