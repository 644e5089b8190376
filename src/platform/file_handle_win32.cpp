#include "platform/file_handle.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/native_path.h"
#include "platform/win32_text.h"

namespace vlmr::platform {
namespace {

constexpr int64_t kLargestSystemCall = 1 << 30;

struct Access {
  DWORD rights;
  DWORD disposition;
};

// Truncation is CREATE_ALWAYS, which refuses a read-only file without
// emptying it.
std::optional<Access> AccessFor(OpenMode mode) {
  switch (mode) {
    case OpenMode::ReadExisting: return Access{GENERIC_READ, OPEN_EXISTING};
    case OpenMode::WriteExisting: return Access{GENERIC_WRITE, OPEN_EXISTING};
    case OpenMode::ReadWriteExisting: return Access{GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING};
    case OpenMode::CreateTruncate: return Access{GENERIC_WRITE, CREATE_ALWAYS};
    case OpenMode::WriteCreateKeep: return Access{GENERIC_WRITE, OPEN_ALWAYS};
    case OpenMode::ReadWriteCreateKeep: return Access{GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS};
  }
  return std::nullopt;
}

// The sharing values are what others may do meanwhile.
std::optional<DWORD> ShareFor(Sharing sharing) {
  switch (sharing) {
    case Sharing::None: return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    case Sharing::DenyRead: return FILE_SHARE_WRITE;
    case Sharing::DenyWrite: return FILE_SHARE_READ;
    case Sharing::Exclusive: return 0;
  }
  return std::nullopt;
}

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

bool MoveTo(HANDLE file, int64_t offset, DWORD from, int64_t* now = nullptr) {
  LARGE_INTEGER distance, position;
  distance.QuadPart = offset;
  if (!::SetFilePointerEx(file, distance, &position, from)) return false;
  if (now) *now = position.QuadPart;
  return true;
}

}  // namespace

FileHandle FileHandle::Open(std::string_view gbkPath, OpenMode mode, Sharing sharing) {
  const std::optional<Access> access = AccessFor(mode);
  const std::optional<DWORD> share = ShareFor(sharing);
  const std::string native = ToNativePath(gbkPath);
  if (!access || !share || native.empty()) return {};
  const std::wstring path = win32::WidePath(native);
  // A read-only file is never opened for writing, whoever runs the launcher.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (mode != OpenMode::ReadExisting && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return {};
  }
  HANDLE file = ::CreateFileW(path.c_str(), access->rights, *share, nullptr,
                              access->disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};  // a folder, a read-only file written, a conflict
  return FileHandle(reinterpret_cast<intptr_t>(file));
}

int64_t FileHandle::Read(void* buffer, int64_t n) {
  if (!IsOpen() || n < 0 || (buffer == nullptr && n > 0)) return -1;
  char* out = static_cast<char*>(buffer);
  int64_t total = 0;
  while (total < n) {
    DWORD got = 0;
    const auto chunk = static_cast<DWORD>(std::min(n - total, kLargestSystemCall));
    if (!::ReadFile(AsHandle(handle_), out + total, chunk, &got, nullptr)) return total > 0 ? total : -1;
    if (got == 0) break;
    total += got;
  }
  return total;
}

bool FileHandle::Write(const void* data, int64_t n) {
  if (!IsOpen() || n < 0 || (data == nullptr && n > 0)) return false;
  int64_t start = -1;
  MoveTo(AsHandle(handle_), 0, FILE_CURRENT, &start);
  const char* in = static_cast<const char*>(data);
  for (int64_t done = 0; done < n;) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min(n - done, kLargestSystemCall));
    if (!::WriteFile(AsHandle(handle_), in + done, chunk, &written, nullptr) || written == 0) {
      const DWORD error = ::GetLastError();
      if (start >= 0) MoveTo(AsHandle(handle_), start, FILE_BEGIN);
      ::SetLastError(error);  // the reason of the failed write, not of the move back
      return false;
    }
    done += written;
  }
  return true;
}

bool FileHandle::SeekToEnd() { return IsOpen() && MoveTo(AsHandle(handle_), 0, FILE_END); }

bool FileHandle::SeekTo(int64_t offset) {
  return IsOpen() && offset >= 0 && MoveTo(AsHandle(handle_), offset, FILE_BEGIN);
}

int64_t FileHandle::Position() const {
  int64_t position = -1;
  return IsOpen() && MoveTo(AsHandle(handle_), 0, FILE_CURRENT, &position) ? position : -1;
}

int64_t FileHandle::Size() const {
  LARGE_INTEGER size;
  return IsOpen() && ::GetFileSizeEx(AsHandle(handle_), &size) ? size.QuadPart : -1;
}

bool FileHandle::AtEnd(bool textMode) {
  const int64_t position = Position();
  const int64_t size = Size();
  if (position < 0 || size < 0 || position >= size) return true;
  if (!textMode) return false;
  unsigned char next = 0;
  const bool peeked = Read(&next, 1) == 1;
  SeekTo(position);
  return peeked && (next == 0 || next == 0x1A);
}

void FileHandle::Close() {
  if (IsOpen()) ::CloseHandle(AsHandle(std::exchange(handle_, kNoHandle)));
}

}  // namespace vlmr::platform
