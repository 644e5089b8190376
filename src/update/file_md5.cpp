#include "update/file_md5.h"

#include "runtime/commands.h"
#include "runtime/declared_functions.h"
#include "update/md5_hasher.h"

namespace vlmr::update {
namespace {

constexpr int32_t kReadExisting = 1;

// COM brackets the work as on the system this runs on; hashing does not
// depend on it.
struct ComScope {
  ComScope() { rt::call_declared<int32_t>(rt::kDeclCoInitialize, static_cast<const void*>(nullptr)); }
  ~ComScope() { rt::call_declared<void>(rt::kDeclCoUninitialize); }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
};

// Adds the file's bytes from the current position to its end. False when a
// read gives nothing before the end (a read error or a file cut meanwhile),
// which would otherwise never reach the end.
bool HashToEnd(int32_t file, Md5Hasher& hasher) {
  while (!rt::cmd::AtEndOfFile(file)) {
    const rt::Bytes block = rt::cmd::ReadFromFile(file, kFileMd5BlockBytes);
    if (block.empty()) return false;
    hasher.AddBytes(block.get());
  }
  return true;
}

}  // namespace

rt::Text FileMd5(const char* path) {
  Md5Hasher hasher;
  const ComScope com;
  const int32_t file = rt::cmd::OpenFile(path, kReadExisting, rt::cmd::kShareNoneDenied);
  if (file == 0) return {};
  hasher.Begin();
  const bool complete = HashToEnd(file, hasher);
  hasher.Finish();
  rt::cmd::CloseFile(file);
  if (!complete) return {};
  const rt::Text lower = hasher.Result();
  return rt::cmd::ToUpper(lower.get());
}

}  // namespace vlmr::update
