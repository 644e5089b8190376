// Files and directories by launcher path (GBK, "\" separators).
#pragma once

#include <cstdint>
#include <string_view>

namespace vlmr::platform {

inline constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;
inline constexpr uint32_t kFileAttributeReadOnly = 0x01;
inline constexpr uint32_t kFileAttributeDirectory = 0x10;
inline constexpr uint32_t kFileAttributeNormal = 0x80;

// Attributes of an existing path (directory 0x10, read-only 0x01, otherwise
// normal 0x80); kInvalidFileAttributes when missing or the path is empty.
uint32_t FileAttributes(std::string_view gbkPath);
// True when a file or a directory of that name exists.
bool PathExists(std::string_view gbkPath);
// Low 32 bits of the file's size; -1 when it is not found or is a directory.
int32_t FileSizeLow(std::string_view gbkPath);
// Copies, overwriting an existing destination; the destination is written to
// a temporary file beside it and renamed, so a failed copy leaves it intact.
bool CopyFileOverwrite(std::string_view gbkSource, std::string_view gbkDestination);
// Creates one directory; false when it exists already or cannot be made.
bool CreateOneDirectory(std::string_view gbkPath);

}  // namespace vlmr::platform
