#include "platform/append_file.h"

#include <windows.h>

#include "platform/file_install.h"
#include "platform/win32_text.h"

namespace vlmr::platform {
namespace {

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

void AppendFile::Close() {
  if (IsOpen()) ::CloseHandle(AsHandle(handle_));
  handle_ = kNoHandle;
}

AppendFile AppendFile::Open(const std::string& nativePath, std::string* why) {
  AppendFile file;
  // Append-only access: every write goes to the end of the file. Others may
  // read, append and rename it meanwhile (another launcher's rotation); the
  // handle is not inheritable, so the client does not hold the log open.
  const HANDLE handle = ::CreateFileW(win32::WidePath(nativePath).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    if (why) *why = LastSystemError();
    return file;
  }
  file.handle_ = reinterpret_cast<intptr_t>(handle);
  return file;
}

int64_t AppendFile::Size() const {
  LARGE_INTEGER size{};
  if (!IsOpen() || !::GetFileSizeEx(AsHandle(handle_), &size)) return -1;
  return size.QuadPart;
}

bool AppendFile::Append(const void* data, size_t n) {
  DWORD written = 0;
  return IsOpen() && n <= MAXDWORD &&
         ::WriteFile(AsHandle(handle_), data, static_cast<DWORD>(n), &written, nullptr) && written == n;
}

bool MoveFileOver(const std::string& nativeFrom, const std::string& nativeTo) {
  return ::MoveFileExW(win32::WidePath(nativeFrom).c_str(), win32::WidePath(nativeTo).c_str(),
                       MOVEFILE_REPLACE_EXISTING) != 0;
}

LocalTime ToLocalTime(std::time_t seconds) {
  LocalTime local;
  localtime_s(&local.fields, &seconds);
  std::tm fields = local.fields;
  local.utcOffsetMinutes = static_cast<int>((_mkgmtime(&fields) - seconds) / 60);
  return local;
}

}  // namespace vlmr::platform
