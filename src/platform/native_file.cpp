#include "platform/native_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

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

AtomicReplacement::AtomicReplacement(const std::string& nativeDestination)
    : destination_(ResolveLink(nativeDestination)) {
  if (destination_.empty()) return;
  for (unsigned attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    temporary_ = TemporaryNameBeside(destination_, attempt);
    // Mode 0666 under the umask, as any newly created file gets.
    fd_ = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
}

AtomicReplacement::~AtomicReplacement() {
  if (fd_ >= 0) close(fd_);
  if (!committed_ && !temporary_.empty()) unlink(temporary_.c_str());
}

bool AtomicReplacement::Write(const void* data, size_t length) {
  const char* bytes = static_cast<const char*>(data);
  while (length > 0 && fd_ >= 0) {
    ssize_t written = write(fd_, bytes, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    length -= static_cast<size_t>(written);
  }
  return fd_ >= 0;
}

bool AtomicReplacement::Commit() {
  if (fd_ < 0) return false;
  struct stat original;
  if (stat(destination_.c_str(), &original) == 0 &&
      fchmod(fd_, original.st_mode & 07777) != 0) {
    return false;
  }
  if (fsync(fd_) != 0) return false;
  int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) return false;
  if (rename(temporary_.c_str(), destination_.c_str()) != 0) return false;
  committed_ = true;
  return true;
}

}  // namespace vlmr::platform
