// Path helpers over the wide-character (UTF-16) file functions: converting a
// launcher text to a wide path, testing for directories, creating every
// missing directory of a path and taking the directory part of a file path.
// Launcher paths are GBK texts converted with TextCodePage; failures come back
// as false or the empty text, never as a message.
#pragma once

#include <cstdint>

#include "runtime/rt_blocks.h"

namespace vlmr::update {

// The UTF-16 code units of `text` with the terminating zero unit, as a byte
// array of 2 x (characters + 1) bytes; empty for an empty text.
rt::Bytes ToWideText(const char* text, int32_t codePage);
// The path exists and carries the directory attribute.
bool IsDirectoryByAttributes(const char* path);
// PathIsDirectoryW reports exactly the directory attribute (16).
bool IsDirectory(const char* path);
// Creates each missing directory along a wide path (a byte array as
// ToWideText makes it): every prefix ending before a backslash except the
// first, then the whole path. Existing directories are left alone; paths of
// fewer than three characters do nothing.
void CreateDirectoryTree(const void* widePath);
// CreateDirectoryTree of the path, then whether it is a directory.
bool EnsureDirectory(const char* path);
// The path itself when it is a directory; otherwise its part up to and
// including the last backslash (a GBK trail byte 0x5C is no backslash), or
// the empty text when it has none.
rt::Text DirectoryOfPath(const char* path);

}  // namespace vlmr::update
