#include "platform/file_install.h"

#include <aclapi.h>
#include <windows.h>

#include <memory>

#include "platform/native_path.h"
#include "platform/win32_text.h"

// windows.h names its ReplaceFileA/W ReplaceFile; ours is the layer's own.
#undef ReplaceFile

namespace vlmr::platform {
namespace {

// The current user, or the administrators, own the file or folder: a link
// (a symbolic link or a junction) they made may be followed.
bool OwnedByUserOrAdministrators(const std::wstring& path) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                              nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  std::unique_ptr<void, decltype(&::LocalFree)> release(descriptor, &::LocalFree);
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof administrators;
  if (::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
      ::EqualSid(owner, administrators)) {
    return true;
  }
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  win32::Handle tokenHandle(token);
  BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD length = 0;
  if (!::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &length)) return false;
  return ::EqualSid(owner, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid) != 0;
}

bool IsLink(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The file a path finally names, its links followed.
std::wstring FinalPath(const std::wstring& path) {
  win32::Handle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return path;  // a dangling link: written where it points is not known; keep it
  wchar_t buffer[32768];
  const DWORD n = ::GetFinalPathNameByHandleW(file.get(), buffer, 32768, FILE_NAME_NORMALIZED);
  if (n == 0 || n >= 32768) return path;
  std::wstring final(buffer, n);
  if (final.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + final.substr(8);
  if (final.rfind(L"\\\\?\\", 0) == 0) return final.substr(4);
  return final;
}

}  // namespace

std::optional<int64_t> FileSize64(std::string_view gbkPath) {
  const std::string native = ToNativePath(gbkPath);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (native.empty() || !::GetFileAttributesExW(win32::WidePath(native).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool RemoveFile(std::string_view gbkPath) {
  const std::string native = ToNativePath(gbkPath);
  if (native.empty()) return false;
  if (::DeleteFileW(win32::WidePath(native).c_str())) return true;
  const DWORD error = ::GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool ReplaceFile(std::string_view gbkFrom, std::string_view gbkTo, std::string* why) {
  const std::string from = ToNativePath(gbkFrom);
  const std::string to = ToNativePath(gbkTo);
  if (from.empty() || to.empty()) {
    if (why) *why = "path too long";
    return false;
  }
  if (::MoveFileExW(win32::WidePath(from).c_str(), win32::WidePath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  if (why) *why = LastSystemError();
  return false;
}

InstallTarget ResolveInstallTarget(std::string_view gbkTop, std::string_view gbkPath) {
  const std::string top = ToNativePath(gbkTop);
  const std::string native = ToNativePath(gbkPath);
  if (top.empty() || native.empty()) return {};
  // Every folder and the file itself below the top: a link among them must be
  // the player's or the administrators'.
  size_t at = native.compare(0, top.size(), top) == 0 ? top.size() : 0;
  for (;;) {
    at = native.find('\\', at + 1);
    const std::string part = native.substr(0, at);
    const std::wstring wide = win32::WidePath(part);
    if (::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) break;  // nothing below exists
    if (IsLink(wide) && !OwnedByUserOrAdministrators(wide)) return {{}, part};
    if (at == std::string::npos) break;
  }
  const std::wstring target = FinalPath(win32::WidePath(native));
  return {ToLauncherPath(win32::Utf8(target)), {}};
}

std::string LastSystemError() { return win32::ErrorText(::GetLastError()); }

}  // namespace vlmr::platform
