#include "platform/file_stamp.h"

#include <windows.h>

#include "platform/native_path.h"
#include "platform/win32_text.h"

namespace vlmr::platform {
namespace {

std::optional<FileStamp> Stamp(std::string_view gbkPath, bool wantFolder) {
  const std::string native = ToNativePath(gbkPath);
  if (native.empty()) return std::nullopt;
  win32::Handle file(::CreateFileW(win32::WidePath(native).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  FILE_BASIC_INFO basic;
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info) ||
      !::GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic)) {
    return std::nullopt;
  }
  const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (folder != wantFolder) return std::nullopt;
  return FileStamp{(static_cast<int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                   win32::UnixNanoseconds(info.ftLastWriteTime), win32::UnixNanoseconds(basic.ChangeTime),
                   info.dwVolumeSerialNumber,
                   (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace

std::optional<FileStamp> StampOf(std::string_view gbkPath) { return Stamp(gbkPath, false); }

std::optional<FileStamp> FolderStampOf(std::string_view gbkPath) { return Stamp(gbkPath, true); }

}  // namespace vlmr::platform
