// The MD5 digest of a file as the update run compares it with the manifest.
#pragma once

#include "runtime/rt_blocks.h"

namespace vlmr::update {

// Bytes hashed per read: one buffer, reused for every read, large enough that
// a big file needs few reads and small enough to stay in the processor's
// cache; the whole file is never held in memory.
inline constexpr int32_t kFileMd5BlockBytes = 1024 * 1024;

// 32 upper-case hex digits of the file's MD5 digest; the empty text when the
// file cannot be opened or a read fails before its end.
rt::Text FileMd5(const char* path);

}  // namespace vlmr::update
