// What the Windows files of the platform layer share: native paths and texts
// (UTF-8 inside the layer) as the UTF-16 the wide Win32 functions take, and
// back. Paths are handed over with the "\\?\" prefix when they are absolute,
// so the system's 260-character limit does not apply.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vlmr::platform::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// A native path for the wide file functions.
std::wstring WidePath(std::string_view nativeUtf8Path);

// The system's message for an error code (GetLastError's), in UTF-8.
std::string ErrorText(DWORD error);

// 100-nanosecond intervals since 1601 to nanoseconds since 1970.
int64_t UnixNanoseconds(const FILETIME& time);
int64_t UnixNanoseconds(const LARGE_INTEGER& time);

// Owns a HANDLE and closes it.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (valid()) ::CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace vlmr::platform::win32
