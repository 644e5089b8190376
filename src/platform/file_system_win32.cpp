#include "platform/file_system.h"

#include <windows.h>

#include <string>

#include "platform/native_file.h"
#include "platform/native_path.h"
#include "platform/win32_text.h"

namespace vlmr::platform {
namespace {

bool Attributes(std::string_view gbkPath, WIN32_FILE_ATTRIBUTE_DATA& data) {
  const std::string native = ToNativePath(gbkPath);
  return !native.empty() &&
         ::GetFileAttributesExW(win32::WidePath(native).c_str(), GetFileExInfoStandard, &data) != 0;
}

}  // namespace

uint32_t FileAttributes(std::string_view gbkPath) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return Attributes(gbkPath, data) ? data.dwFileAttributes : kInvalidFileAttributes;
}

bool PathExists(std::string_view gbkPath) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return Attributes(gbkPath, data);
}

int32_t FileSizeLow(std::string_view gbkPath) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!Attributes(gbkPath, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return -1;
  return static_cast<int32_t>(data.nFileSizeLow);
}

// Through a temporary file and a rename, so a failed copy leaves the
// destination as it was; CopyFile's refusal of a read-only destination kept.
bool CopyFileOverwrite(std::string_view gbkSource, std::string_view gbkDestination) {
  const std::string source = ToNativePath(gbkSource);
  const std::string destination = ToNativePath(gbkDestination);
  if (source.empty() || destination.empty()) return false;
  const NativeFileState existing = StateOfNativeFile(destination);
  if (existing.exists && (!existing.regular || existing.readOnly)) return false;
  const std::optional<std::string> content = ReadNativeFile(source);
  if (!content) return false;
  AtomicReplacement target(destination);
  return target.IsOpen() && target.Write(content->data(), content->size()) && target.Commit();
}

bool CreateOneDirectory(std::string_view gbkPath) {
  const std::string native = ToNativePath(gbkPath);
  return !native.empty() && ::CreateDirectoryW(win32::WidePath(native).c_str(), nullptr) != 0;
}

}  // namespace vlmr::platform
