#include "platform/native_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/posix_read_only.h"

namespace vlmr::platform {
namespace {

std::string ResolveLink(const std::string& path) {
  char resolved[PATH_MAX];
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
      realpath(path.c_str(), resolved) != nullptr) {
    return resolved;
  }
  return path;
}

// A fresh name beside the destination: hidden, tagged with the process id and
// a per-process counter, so concurrent writers never share one.
std::string TemporaryNameBeside(const std::string& destination, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  auto slash = destination.rfind('/');
  std::string directory = slash == std::string::npos ? "" : destination.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? destination : destination.substr(slash + 1);
  return directory + "." + name + ".tmp" + std::to_string(getpid()) + "-" +
         std::to_string(counter.fetch_add(1)) + "-" + std::to_string(attempt);
}

}  // namespace

NativeFileState StateOfNativeFile(const std::string& nativePath) {
  struct stat info;
  if (stat(nativePath.c_str(), &info) != 0) return {};
  return {true, S_ISREG(info.st_mode), HasReadOnlyAttribute(info.st_mode)};
}

std::optional<std::string> ReadNativeFile(const std::string& nativePath, int64_t maxBytes) {
  int fd = open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string content;
  struct stat info;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes;
  char block[65536];
  while (ok) {
    ssize_t got = read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    if (static_cast<int64_t>(content.size()) + got > maxBytes) {
      ok = false;  // it grew meanwhile
      break;
    }
    content.append(block, static_cast<size_t>(got));
  }
  close(fd);
  if (!ok) return std::nullopt;
  return content;
}

AtomicReplacement::AtomicReplacement(const std::string& nativeDestination)
    : destination_(ResolveLink(nativeDestination)) {
  if (destination_.empty()) return;
  for (unsigned attempt = 0; attempt < 16 && handle_ == kNoHandle; ++attempt) {
    temporary_ = TemporaryNameBeside(destination_, attempt);
    // Mode 0666 under the umask, as any newly created file gets.
    int fd = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) handle_ = fd;
    else if (errno != EEXIST) break;
  }
}

AtomicReplacement::~AtomicReplacement() {
  if (handle_ != kNoHandle) close(static_cast<int>(handle_));
  if (!committed_ && !temporary_.empty()) unlink(temporary_.c_str());
}

bool AtomicReplacement::Write(const void* data, size_t length) {
  const char* bytes = static_cast<const char*>(data);
  while (length > 0 && handle_ != kNoHandle) {
    ssize_t written = write(static_cast<int>(handle_), bytes, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    length -= static_cast<size_t>(written);
  }
  return handle_ != kNoHandle;
}

bool AtomicReplacement::Commit() {
  if (handle_ == kNoHandle) return false;
  const int fd = static_cast<int>(handle_);
  struct stat original;
  if (stat(destination_.c_str(), &original) == 0 && fchmod(fd, original.st_mode & 07777) != 0) {
    return false;
  }
  if (fsync(fd) != 0) return false;
  handle_ = kNoHandle;
  if (close(fd) != 0) return false;
  if (rename(temporary_.c_str(), destination_.c_str()) != 0) return false;
  committed_ = true;
  return true;
}

}  // namespace vlmr::platform
