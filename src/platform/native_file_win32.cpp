#include "platform/native_file.h"

#include <windows.h>

#include <atomic>

#include "platform/win32_text.h"

namespace vlmr::platform {
namespace {

std::wstring TemporaryNameBeside(const std::wstring& destination, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  return destination + L".tmp" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(counter.fetch_add(1)) + L"-" + std::to_wstring(attempt);
}

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

NativeFileState StateOfNativeFile(const std::string& nativePath) {
  const DWORD attributes = ::GetFileAttributesW(win32::WidePath(nativePath).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return {};
  return {true, (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0, (attributes & FILE_ATTRIBUTE_READONLY) != 0};
}

std::optional<std::string> ReadNativeFile(const std::string& nativePath, int64_t maxBytes) {
  win32::Handle file(::CreateFileW(win32::WidePath(nativePath).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file.valid() || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > maxBytes) return std::nullopt;
  std::string content;
  char block[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), block, sizeof block, &got, nullptr)) return std::nullopt;
    if (got == 0) return content;
    if (static_cast<int64_t>(content.size()) + got > maxBytes) return std::nullopt;  // it grew meanwhile
    content.append(block, got);
  }
}

AtomicReplacement::AtomicReplacement(const std::string& nativeDestination) : destination_(nativeDestination) {
  if (destination_.empty()) return;
  const std::wstring destination = win32::WidePath(destination_);
  for (unsigned attempt = 0; attempt < 16 && handle_ == kNoHandle; ++attempt) {
    const std::wstring temporary = TemporaryNameBeside(destination, attempt);
    HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<intptr_t>(file);
      temporary_ = win32::Utf8(temporary);
    } else if (::GetLastError() != ERROR_FILE_EXISTS) {
      break;
    }
  }
}

AtomicReplacement::~AtomicReplacement() {
  if (handle_ != kNoHandle) ::CloseHandle(AsHandle(handle_));
  if (!committed_ && !temporary_.empty()) ::DeleteFileW(win32::Wide(temporary_).c_str());
}

bool AtomicReplacement::Write(const void* data, size_t length) {
  const char* bytes = static_cast<const char*>(data);
  while (length > 0 && handle_ != kNoHandle) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(length, 1u << 30));
    if (!::WriteFile(AsHandle(handle_), bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    length -= written;
  }
  return handle_ != kNoHandle;
}

bool AtomicReplacement::Commit() {
  if (handle_ == kNoHandle) return false;
  HANDLE file = AsHandle(handle_);
  const bool flushed = ::FlushFileBuffers(file) != 0;
  handle_ = kNoHandle;
  if (!::CloseHandle(file) || !flushed) return false;
  if (!::MoveFileExW(win32::Wide(temporary_).c_str(), win32::WidePath(destination_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace vlmr::platform
