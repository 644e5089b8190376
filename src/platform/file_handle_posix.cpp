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

FileHandle::FileHandle(FileHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FileHandle::~FileHandle() { Close(); }

FileHandle FileHandle::Open(std::string_view gbkPath, OpenMode mode, Sharing sharing) {
  int flags = OpenFlags(mode);
  if (flags < 0 || !ValidSharing(sharing)) return {};
  std::string native = ToNativePath(gbkPath);
  if (native.empty()) return {};
  FileHandle file(open(native.c_str(), flags | O_CLOEXEC, 0666));
  if (!file.IsOpen()) return {};
  struct stat info;
  if (fstat(file.fd_, &info) != 0 || S_ISDIR(info.st_mode)) return {};
  if (Writes(mode) && HasReadOnlyAttribute(info.st_mode)) return {};
  if (!Lock(file.fd_, sharing)) return {};
  if (mode == OpenMode::CreateTruncate && ftruncate(file.fd_, 0) != 0) return {};
  return file;
}

int64_t FileHandle::Read(void* buffer, int64_t n) {
  if (fd_ < 0 || n < 0 || (buffer == nullptr && n > 0)) return -1;
  char* out = static_cast<char*>(buffer);
  int64_t total = 0;
  while (total < n) {
    size_t chunk = static_cast<size_t>(std::min(n - total, kLargestSystemCall));
    ssize_t got = read(fd_, out + total, chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return total > 0 ? total : -1;
    if (got == 0) break;
    total += got;
  }
  return total;
}

bool FileHandle::Write(const void* data, int64_t n) {
  if (fd_ < 0 || n < 0 || (data == nullptr && n > 0)) return false;
  off_t start = lseek(fd_, 0, SEEK_CUR);
  const char* in = static_cast<const char*>(data);
  int64_t done = 0;
  while (done < n) {
    size_t chunk = static_cast<size_t>(std::min(n - done, kLargestSystemCall));
    ssize_t written = write(fd_, in + done, chunk);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (start >= 0) lseek(fd_, start, SEEK_SET);
      return false;
    }
    done += written;
  }
  return true;
}

bool FileHandle::SeekToEnd() { return fd_ >= 0 && lseek(fd_, 0, SEEK_END) >= 0; }

bool FileHandle::SeekTo(int64_t offset) {
  return fd_ >= 0 && offset >= 0 && lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

int64_t FileHandle::Position() const { return fd_ < 0 ? -1 : lseek(fd_, 0, SEEK_CUR); }

int64_t FileHandle::Size() const {
  struct stat info;
  return fd_ >= 0 && fstat(fd_, &info) == 0 ? info.st_size : -1;
}

bool FileHandle::AtEnd(bool textMode) {
  int64_t position = Position();
  int64_t size = Size();
  if (position < 0 || size < 0 || position >= size) return true;
  if (!textMode) return false;
  unsigned char next = 0;
  return pread(fd_, &next, 1, static_cast<off_t>(position)) == 1 && (next == 0 || next == 0x1A);
}

void FileHandle::Close() {
  if (fd_ >= 0) close(std::exchange(fd_, -1));
}

}  // namespace vlmr::platform
