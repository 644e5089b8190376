#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/native_file.h"
#include "platform/posix_read_only.h"
#include "platform/native_path.h"

namespace vlmr::platform {
namespace {

bool StatPath(std::string_view gbkPath, struct stat& info) {
  std::string native = ToNativePath(gbkPath);
  return !native.empty() && stat(native.c_str(), &info) == 0;
}

constexpr size_t kCopyBlock = 1 << 20;

// Copies the rest of `source` into `target`; false on any read or write error.
bool CopyContent(int source, AtomicReplacement& target) {
  std::vector<char> block(kCopyBlock);
  for (;;) {
    ssize_t got = read(source, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!target.Write(block.data(), static_cast<size_t>(got))) return false;
  }
}

}  // namespace

uint32_t FileAttributes(std::string_view gbkPath) {
  struct stat info;
  if (!StatPath(gbkPath, info)) return kInvalidFileAttributes;
  uint32_t attributes = 0;
  if (S_ISDIR(info.st_mode)) attributes |= kFileAttributeDirectory;
  if (HasReadOnlyAttribute(info.st_mode)) attributes |= kFileAttributeReadOnly;
  return attributes == 0 ? kFileAttributeNormal : attributes;
}

bool PathExists(std::string_view gbkPath) {
  struct stat info;
  return StatPath(gbkPath, info);
}

int32_t FileSizeLow(std::string_view gbkPath) {
  struct stat info;
  if (!StatPath(gbkPath, info) || S_ISDIR(info.st_mode)) return -1;
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(info.st_size)));
}

bool CopyFileOverwrite(std::string_view gbkSource, std::string_view gbkDestination) {
  std::string source = ToNativePath(gbkSource);
  std::string destination = ToNativePath(gbkDestination);
  if (source.empty() || destination.empty()) return false;
  struct stat existing;
  if (stat(destination.c_str(), &existing) == 0 &&
      (S_ISDIR(existing.st_mode) || HasReadOnlyAttribute(existing.st_mode))) {
    return false;  // CopyFile refuses a read-only destination
  }
  int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat sourceInfo;
  bool copied = false;
  if (fstat(in, &sourceInfo) == 0 && S_ISREG(sourceInfo.st_mode)) {
    AtomicReplacement target(destination);
    copied = target.IsOpen() && CopyContent(in, target) && target.Commit();
  }
  close(in);
  return copied;
}

bool CreateOneDirectory(std::string_view gbkPath) {
  std::string native = ToNativePath(gbkPath);
  return !native.empty() && mkdir(native.c_str(), 0777) == 0;
}

}  // namespace vlmr::platform
