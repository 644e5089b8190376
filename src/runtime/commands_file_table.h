// The file numbers handed out by the open file command: a process-wide,
// thread-safe table from number to open file. A file stays alive while a
// command uses it, even when another thread closes its number meanwhile.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/file_handle.h"

namespace vlmr::rt::files {

// Stores an open file and returns its number (never 0).
int32_t Add(platform::FileHandle file);
// The file of a number; null for 0, a closed or an unknown number.
std::shared_ptr<platform::FileHandle> Find(int32_t number);
// Forgets the number; the file closes once no command uses it any more.
void Remove(int32_t number);

}  // namespace vlmr::rt::files
