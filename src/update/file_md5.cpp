#include "update/file_md5.h"

#include <vector>

#include "platform/file_handle.h"
#include "runtime/commands.h"
#include "runtime/declared_functions.h"
#include "update/md5_hasher.h"

namespace vlmr::update {
namespace {

// COM brackets the work as on the system this runs on; hashing does not
// depend on it.
struct ComScope {
  ComScope() { rt::call_declared<int32_t>(rt::kDeclCoInitialize, static_cast<const void*>(nullptr)); }
  ~ComScope() { rt::call_declared<void>(rt::kDeclCoUninitialize); }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
};

// Adds the file's bytes to its end. False when a read fails. The blocks go
// through one buffer: a fresh block per read (as the file commands hand them
// out) costs a page fault per page on heaps that return large blocks to the
// system, which on Windows cut the throughput to a third.
bool HashToEnd(platform::FileHandle& file, Md5Hasher& hasher) {
  std::vector<char> buffer(kFileMd5BlockBytes);
  for (;;) {
    const int64_t got = file.Read(buffer.data(), kFileMd5BlockBytes);
    if (got < 0) return false;
    if (got == 0) return true;
    hasher.AddData(buffer.data(), static_cast<int32_t>(got));
  }
}

}  // namespace

rt::Text FileMd5(const char* path) {
  Md5Hasher hasher;
  const ComScope com;
  if (path == nullptr) return {};
  platform::FileHandle file =
      platform::FileHandle::Open(path, platform::OpenMode::ReadExisting, platform::Sharing::None);
  if (!file.IsOpen()) return {};
  hasher.Begin();
  const bool complete = HashToEnd(file, hasher);
  hasher.Finish();
  if (!complete) return {};
  const rt::Text lower = hasher.Result();
  return rt::cmd::ToUpper(lower.get());
}

}  // namespace vlmr::update
