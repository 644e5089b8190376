#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_install.h"
#include "platform/native_path.h"

namespace vlmr::platform {

std::unique_ptr<FolderLock> FolderLock::Acquire(std::string_view gbkLockFile, std::string* why) {
  std::string native = ToNativePath(gbkLockFile);
  int descriptor = native.empty() ? -1 : open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    if (why) *why = native.empty() ? "path too long" : LastSystemError();
    return nullptr;
  }
  int locked;
  do {
    locked = flock(descriptor, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    if (why) *why = LastSystemError();
    close(descriptor);
    return nullptr;
  }
  return std::unique_ptr<FolderLock>(new FolderLock(descriptor));
}

FolderLock::~FolderLock() { close(static_cast<int>(descriptor_)); }

}  // namespace vlmr::platform
