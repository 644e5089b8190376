#include "platform/file_handle.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <utility>

#include "platform/native_file.h"
#include "platform/posix_read_only.h"
#include "platform/native_path.h"

namespace vlmr::platform {
namespace {

constexpr int64_t kLargestSystemCall = 1 << 30;

int OpenFlags(OpenMode mode) {
  switch (mode) {
    case OpenMode::ReadExisting: return O_RDONLY;
    case OpenMode::WriteExisting: return O_WRONLY;
    case OpenMode::ReadWriteExisting: return O_RDWR;
    // Truncation waits until the file is known to be writable and locked.
    case OpenMode::CreateTruncate: return O_WRONLY | O_CREAT;
    case OpenMode::WriteCreateKeep: return O_WRONLY | O_CREAT;
    case OpenMode::ReadWriteCreateKeep: return O_RDWR | O_CREAT;
  }
  return -1;
}

bool Writes(OpenMode mode) { return mode != OpenMode::ReadExisting; }

bool Lock(int fd, Sharing sharing) {
  switch (sharing) {
    case Sharing::None: return true;
    case Sharing::DenyWrite: return flock(fd, LOCK_SH | LOCK_NB) == 0;
    case Sharing::DenyRead:
    case Sharing::Exclusive: return flock(fd, LOCK_EX | LOCK_NB) == 0;
  }
  return false;
}

bool ValidSharing(Sharing sharing) {
  auto value = static_cast<int32_t>(sharing);
  return value >= 1 && value <= 4;
}

}  // namespace

int FileHandle::Fd() const { return static_cast<int>(handle_); }

FileHandle FileHandle::Open(std::string_view gbkPath, OpenMode mode, Sharing sharing) {
  int flags = OpenFlags(mode);
  if (flags < 0 || !ValidSharing(sharing)) return {};
  std::string native = ToNativePath(gbkPath);
  if (native.empty()) return {};
  const int fd = open(native.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return {};
  FileHandle file(fd);
  struct stat info;
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) return {};
  if (Writes(mode) && HasReadOnlyAttribute(info.st_mode)) return {};
  if (!Lock(fd, sharing)) return {};
  if (mode == OpenMode::CreateTruncate && ftruncate(fd, 0) != 0) return {};
  return file;
}

int64_t FileHandle::Read(void* buffer, int64_t n) {
  if (!IsOpen() || n < 0 || (buffer == nullptr && n > 0)) return -1;
  char* out = static_cast<char*>(buffer);
  int64_t total = 0;
  while (total < n) {
    size_t chunk = static_cast<size_t>(std::min(n - total, kLargestSystemCall));
    ssize_t got = read(Fd(), out + total, chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return total > 0 ? total : -1;
    if (got == 0) break;
    total += got;
  }
  return total;
}

bool FileHandle::Write(const void* data, int64_t n) {
  if (!IsOpen() || n < 0 || (data == nullptr && n > 0)) return false;
  off_t start = lseek(Fd(), 0, SEEK_CUR);
  const char* in = static_cast<const char*>(data);
  int64_t done = 0;
  while (done < n) {
    size_t chunk = static_cast<size_t>(std::min(n - done, kLargestSystemCall));
    ssize_t written = write(Fd(), in + done, chunk);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (start >= 0) lseek(Fd(), start, SEEK_SET);
      return false;
    }
    done += written;
  }
  return true;
}

bool FileHandle::SeekToEnd() { return IsOpen() && lseek(Fd(), 0, SEEK_END) >= 0; }

bool FileHandle::SeekTo(int64_t offset) {
  return IsOpen() && offset >= 0 && lseek(Fd(), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

int64_t FileHandle::Position() const { return !IsOpen() ? -1 : lseek(Fd(), 0, SEEK_CUR); }

int64_t FileHandle::Size() const {
  struct stat info;
  return IsOpen() && fstat(Fd(), &info) == 0 ? info.st_size : -1;
}

bool FileHandle::AtEnd(bool textMode) {
  int64_t position = Position();
  int64_t size = Size();
  if (position < 0 || size < 0 || position >= size) return true;
  if (!textMode) return false;
  unsigned char next = 0;
  return pread(Fd(), &next, 1, static_cast<off_t>(position)) == 1 && (next == 0 || next == 0x1A);
}

void FileHandle::Close() {
  if (IsOpen()) close(static_cast<int>(std::exchange(handle_, kNoHandle)));
}

}  // namespace vlmr::platform
