// An exclusive lock that one process at a time holds on a game folder, so two
// launchers never update the same files at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vlmr::platform {

class FolderLock {
 public:
  // Opens (creating) the lock file, then waits until no other process holds
  // the lock. Null when the lock file cannot be made; *why says why. The lock
  // is not handed to programs this process starts.
  static std::unique_ptr<FolderLock> Acquire(std::string_view gbkLockFile, std::string* why);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  explicit FolderLock(intptr_t descriptor) : descriptor_(descriptor) {}
  intptr_t descriptor_;  // a descriptor on POSIX, a HANDLE on Windows
};

}  // namespace vlmr::platform
