#include "platform/file_stamp.h"

#include <sys/stat.h>

#include <string>

#include "platform/native_path.h"

namespace vlmr::platform {
namespace {

int64_t Nanoseconds(const timespec& t) { return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; }

std::optional<FileStamp> Stamp(std::string_view gbkPath, bool wantFolder) {
  const std::string native = ToNativePath(gbkPath);
  struct stat info;
  if (native.empty() || stat(native.c_str(), &info) != 0) return std::nullopt;
  if (wantFolder ? !S_ISDIR(info.st_mode) : !S_ISREG(info.st_mode)) return std::nullopt;
  return FileStamp{static_cast<int64_t>(info.st_size), Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim),
                   static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

}  // namespace

std::optional<FileStamp> StampOf(std::string_view gbkPath) { return Stamp(gbkPath, false); }

std::optional<FileStamp> FolderStampOf(std::string_view gbkPath) { return Stamp(gbkPath, true); }

}  // namespace vlmr::platform
