#include "update/reserved_names.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/file_system.h"

namespace vlmr::update {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

// The first non-empty component, stepping over GBK double-byte characters.
std::string_view FirstComponent(std::string_view path) {
  size_t start = path.find_first_not_of("\\/");
  if (start == std::string_view::npos) return {};
  size_t i = start;
  while (i < path.size() && path[i] != '\\' && path[i] != '/') {
    i += platform::IsGbkLeadByte(static_cast<unsigned char>(path[i])) ? 2 : 1;
  }
  return path.substr(start, std::min(i, path.size()) - start);
}

}  // namespace

bool IsReservedPath(std::string_view gbkRelativePath) {
  if (SameLetters(FirstComponent(gbkRelativePath), kLauncherFolder)) return true;
  return gbkRelativePath.size() >= kPartialSuffix.size() &&
         SameLetters(gbkRelativePath.substr(gbkRelativePath.size() - kPartialSuffix.size()),
                     kPartialSuffix);
}

std::string LauncherFolderFile(std::string_view programDirectory, std::string_view name) {
  return std::string(programDirectory) + "\\" + std::string(kLauncherFolder) + "\\" + std::string(name);
}

bool EnsureLauncherFolder(std::string_view programDirectory) {
  const std::string folder = std::string(programDirectory) + "\\" + std::string(kLauncherFolder);
  platform::CreateOneDirectory(folder);
  const uint32_t attributes = platform::FileAttributes(folder);
  return attributes != platform::kInvalidFileAttributes &&
         (attributes & platform::kFileAttributeDirectory) != 0;
}

}  // namespace vlmr::update
