#include "platform/folder_lock.h"

#include <windows.h>

#include "platform/file_install.h"
#include "platform/native_path.h"
#include "platform/win32_text.h"

namespace vlmr::platform {

// LockFileEx on the lock file: held until the handle is closed, which the
// system does when the process ends however it ends; the handle is not
// inherited by programs this process starts.
std::unique_ptr<FolderLock> FolderLock::Acquire(std::string_view gbkLockFile, std::string* why) {
  const std::string native = ToNativePath(gbkLockFile);
  HANDLE file = native.empty() ? INVALID_HANDLE_VALUE
                               : ::CreateFileW(win32::WidePath(native).c_str(), GENERIC_READ | GENERIC_WRITE,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (why) *why = native.empty() ? "path too long" : LastSystemError();
    return nullptr;
  }
  OVERLAPPED whole{};
  if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
    if (why) *why = LastSystemError();
    ::CloseHandle(file);
    return nullptr;
  }
  return std::unique_ptr<FolderLock>(new FolderLock(reinterpret_cast<intptr_t>(file)));
}

FolderLock::~FolderLock() { ::CloseHandle(reinterpret_cast<HANDLE>(descriptor_)); }

}  // namespace vlmr::platform
