// Native-file helpers shared by the file, copy and profile code: the Windows
// read-only attribute on POSIX permissions, and replacing a file atomically.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace vlmr::platform {

// Windows' read-only attribute: the owner may not write. Checked explicitly
// because root may write any file, and the launcher must refuse it all the same.
inline bool HasReadOnlyAttribute(mode_t mode) { return (mode & S_IWUSR) == 0; }

// Writes a new version of a file into a temporary file beside it and renames
// it over the original on Commit, so readers see the old or the new content
// and a failure midway leaves the original untouched. The temporary file is
// removed when the object is destroyed without a successful Commit.
class AtomicReplacement {
 public:
  // `nativeDestination` may be a symbolic link: its target is replaced.
  explicit AtomicReplacement(const std::string& nativeDestination);
  AtomicReplacement(const AtomicReplacement&) = delete;
  AtomicReplacement& operator=(const AtomicReplacement&) = delete;
  ~AtomicReplacement();

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  bool Write(const void* data, size_t length);
  // Flushes the data, gives the file the permissions of the file it replaces
  // (a new file keeps 0666 under the umask) and renames it over the original.
  bool Commit();

 private:
  std::string destination_;
  std::string temporary_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace vlmr::platform
