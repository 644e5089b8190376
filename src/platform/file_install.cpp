#include "platform/file_install.h"

#include "platform/native_file.h"
#include "platform/native_path.h"

namespace vlmr::platform {

std::optional<std::string> ReadSmallFile(std::string_view gbkPath, int64_t maxBytes) {
  const std::string native = ToNativePath(gbkPath);
  if (native.empty()) return std::nullopt;
  return ReadNativeFile(native, maxBytes);
}

bool WriteFileAtomically(std::string_view gbkPath, std::string_view bytes) {
  const std::string native = ToNativePath(gbkPath);
  if (native.empty()) return false;
  AtomicReplacement file(native);
  return file.IsOpen() && file.Write(bytes.data(), bytes.size()) && file.Commit();
}

}  // namespace vlmr::platform
