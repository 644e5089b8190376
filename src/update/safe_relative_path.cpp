#include "update/safe_relative_path.h"

#include <vector>

#include "platform/codepage.h"

namespace vlmr::update {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The components between separators, stepping over GBK double-byte characters.
std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (platform::IsGbkLeadByte(static_cast<unsigned char>(path[i]))) {
      ++i;
    } else if (IsSeparator(path[i])) {
      parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(path.substr(start));
  return parts;
}

// "..", and names such as "..." or ".. " that Windows trims to "..".
bool ClimbsOut(std::string_view name) {
  return name.find("..") != std::string_view::npos &&
         name.find_first_not_of(". ") == std::string_view::npos;
}

}  // namespace

bool IsSafeRelativePath(std::string_view gbkPath) {
  if (gbkPath.empty() || gbkPath.find('\0') != std::string_view::npos) return false;
  if (gbkPath.size() >= 2 && IsSeparator(gbkPath[0]) && IsSeparator(gbkPath[1])) return false;
  bool hasName = false;
  for (std::string_view name : Components(gbkPath)) {
    if (name.find(':') != std::string_view::npos || ClimbsOut(name)) return false;
    hasName = hasName || !name.empty();
  }
  return hasName;
}

}  // namespace vlmr::update
