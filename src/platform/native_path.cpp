#include "platform/native_path.h"

#include <sys/stat.h>

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

}  // namespace

std::string ToNativePath(std::string_view gbkPath) {
  if (gbkPath.empty() || gbkPath.size() > kMaxLauncherPathBytes) return {};
  bool rooted = HasDrivePrefix(gbkPath);
  if (rooted) gbkPath.remove_prefix(2);
  rooted = rooted || (!gbkPath.empty() && IsSeparator(gbkPath.front()));
  std::string utf8 = GbkToUtf8(gbkPath);
  bool trailingSeparator = !utf8.empty() && IsSeparator(utf8.back());

  std::string result = rooted ? "/" : "";
  bool matching = true;  // stays true while every component so far exists
  for (std::string_view component : SplitComponents(utf8)) {
    std::string next = JoinComponent(result, component);
    if (matching && component != "." && component != ".." && !Exists(next)) {
      std::optional<std::string> match = FindEntryIgnoringCase(result, component);
      if (match) {
        next = JoinComponent(result, *match);
      } else {
        matching = false;  // nothing below a missing component can exist
      }
    }
    result = std::move(next);
  }
  if (trailingSeparator && !result.empty() && result.back() != '/') result += '/';
  if (result.size() >= PATH_MAX) return {};
  return result;
}

std::string ToLauncherPath(std::string_view nativePath) {
  std::string gbk = Utf8ToGbk(nativePath);
  // Only '/' bytes outside double-byte characters are separators.
  for (size_t i = 0; i < gbk.size(); ++i) {
    auto c = static_cast<unsigned char>(gbk[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < gbk.size()) {
      ++i;
    } else if (c == '/') {
      gbk[i] = '\\';
    }
  }
  return gbk;
}

}  // namespace vlmr::platform
