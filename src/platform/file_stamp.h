// What identifies the state of a file without reading it: its size, its
// modification and change times in nanoseconds, and the file's identity on
// its volume. Any write, truncation, replacement, renaming over, or change of
// the times by hand (which moves the change time) changes a stamp.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vlmr::platform {

struct FileStamp {
  int64_t size = 0;
  int64_t modifiedNs = 0;  // since 1970, UTC
  int64_t changedNs = 0;   // metadata change (inode change time, or its Windows counterpart)
  uint64_t device = 0;     // the volume
  uint64_t fileId = 0;     // inode, or the Windows file index
  bool operator==(const FileStamp&) const = default;
};

// The stamp of a regular file (links followed); nullopt when it is missing or
// not a regular file.
std::optional<FileStamp> StampOf(std::string_view gbkPath);

// The stamp of a folder, for its identity (device and id).
std::optional<FileStamp> FolderStampOf(std::string_view gbkPath);

// Wall-clock time now, in nanoseconds since 1970, as file times are kept.
int64_t WallClockNs();

}  // namespace vlmr::platform
