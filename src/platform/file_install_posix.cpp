#include "platform/file_install.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/native_path.h"

namespace vlmr::platform {
namespace {

constexpr int kMostLinksFollowed = 40;  // the system's own limit for a chain

bool OwnedByUserOrAdministrator(const struct stat& info) {
  return info.st_uid == geteuid() || info.st_uid == 0;
}

std::string FolderOf(const std::string& nativePath) {
  auto slash = nativePath.rfind('/');
  return slash == std::string::npos ? "." : nativePath.substr(0, slash == 0 ? 1 : slash);
}

// The file a link names, relative names taken from the link's folder.
std::string LinkTarget(const std::string& link) {
  char buffer[PATH_MAX];
  ssize_t length = readlink(link.c_str(), buffer, sizeof buffer - 1);
  if (length <= 0) return {};
  std::string target(buffer, static_cast<size_t>(length));
  if (target.front() == '/') return target;
  std::string folder = FolderOf(link);
  return folder == "/" ? "/" + target : folder + "/" + target;
}

// Follows a chain of links from `path`, each one checked. Empty target and
// the refused link when one belongs to someone else.
InstallTarget FollowFinalLinks(std::string path) {
  for (int hop = 0; hop < kMostLinksFollowed; ++hop) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return {ToLauncherPath(path), {}};
    if (!OwnedByUserOrAdministrator(info)) return {{}, path};
    path = LinkTarget(path);
    if (path.empty()) return {{}, {}};
  }
  return {{}, {}};  // a loop of links: nothing to write through
}

}  // namespace

std::optional<int64_t> FileSize64(std::string_view gbkPath) {
  std::string native = ToNativePath(gbkPath);
  struct stat info;
  if (native.empty() || stat(native.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return std::nullopt;
  return static_cast<int64_t>(info.st_size);
}

bool RemoveFile(std::string_view gbkPath) {
  std::string native = ToNativePath(gbkPath);
  return !native.empty() && (unlink(native.c_str()) == 0 || errno == ENOENT);
}

bool ReplaceFile(std::string_view gbkFrom, std::string_view gbkTo, std::string* why) {
  std::string from = ToNativePath(gbkFrom);
  std::string to = ToNativePath(gbkTo);
  if (from.empty() || to.empty()) {
    if (why) *why = "path too long";
    return false;
  }
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  if (why) *why = LastSystemError();
  return false;
}

InstallTarget ResolveInstallTarget(std::string_view gbkTop, std::string_view gbkPath) {
  const std::string top = ToNativePath(gbkTop);
  const std::string native = ToNativePath(gbkPath);
  if (top.empty() || native.empty()) return {};
  // Every folder on the way below the top: a link among them is followed by
  // the system when the file is opened, so only its owner is checked here.
  size_t at = native.compare(0, top.size(), top) == 0 ? top.size() : 0;
  while ((at = native.find('/', at + 1)) != std::string::npos) {
    std::string folder = native.substr(0, at);
    struct stat info;
    if (lstat(folder.c_str(), &info) != 0) break;  // nothing below a missing folder exists
    if (S_ISLNK(info.st_mode) && !OwnedByUserOrAdministrator(info)) return {{}, folder};
  }
  return FollowFinalLinks(native);
}

std::string LastSystemError() { return std::strerror(errno); }

}  // namespace vlmr::platform
