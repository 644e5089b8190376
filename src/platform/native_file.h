// Native-file helpers shared by the file, copy and profile code, by native
// path: what kind of file is there, reading a whole file, and replacing a file
// atomically.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vlmr::platform {

struct NativeFileState {
  bool exists = false;
  bool regular = false;   // a file, not a folder or device
  bool readOnly = false;  // Windows' read-only attribute (on POSIX: the owner may not write,
                          // checked explicitly because root may write any file)
};
NativeFileState StateOfNativeFile(const std::string& nativePath);

// The whole content of a regular file; nullopt when it cannot be read or
// holds more than `maxBytes`.
std::optional<std::string> ReadNativeFile(const std::string& nativePath, int64_t maxBytes = INT64_MAX);

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

  bool IsOpen() const { return handle_ != kNoHandle; }
  bool Write(const void* data, size_t length);
  // Flushes the data, gives the file the permissions of the file it replaces
  // (a new file keeps 0666 under the umask) and renames it over the original.
  bool Commit();

 private:
  static constexpr intptr_t kNoHandle = -1;  // a descriptor or a HANDLE
  std::string destination_;
  std::string temporary_;
  intptr_t handle_ = kNoHandle;
  bool committed_ = false;
};

}  // namespace vlmr::platform
