#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/private_files.h"
#include "platform/win32_text.h"

namespace vlmr::platform {
namespace {

namespace fs = std::filesystem;

// Rights that let their holder change a file or folder, or its contents.
constexpr DWORD kChangingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                  FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

// The current user's SID, as the process token holds it.
const std::vector<BYTE>& UserSid() {
  static const std::vector<BYTE> sid = [] {
    std::vector<BYTE> buffer;
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return buffer;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size != 0 && ::GetTokenInformation(token, TokenUser, user.data(), size, &size)) {
      PSID userSid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
      const BYTE* bytes = static_cast<const BYTE*>(userSid);
      buffer.assign(bytes, bytes + ::GetLengthSid(userSid));
    }
    ::CloseHandle(token);
    return buffer;
  }();
  return sid;
}

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) { return ::IsWellKnownSid(sid, type) != 0; }

// The Windows installer service, which may change what lies under the
// system's program folders.
PSID TrustedInstallerSid() {
  static PSID sid = [] {
    PSID made = nullptr;
    ::ConvertStringSidToSidW(L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", &made);
    return made;
  }();
  return sid;
}

// The user, the administrators and the system itself may own and change the
// launcher's files.
bool IsTrustedSid(PSID sid) {
  const std::vector<BYTE>& user = UserSid();
  return (!user.empty() && ::EqualSid(sid, const_cast<BYTE*>(user.data()))) ||
         IsWellKnown(sid, WinBuiltinAdministratorsSid) || IsWellKnown(sid, WinLocalSystemSid) ||
         (TrustedInstallerSid() != nullptr && ::EqualSid(sid, TrustedInstallerSid()));
}

bool IsDenyEntry(BYTE type) {
  return type == ACCESS_DENIED_ACE_TYPE || type == ACCESS_DENIED_OBJECT_ACE_TYPE ||
         type == ACCESS_DENIED_CALLBACK_ACE_TYPE || type == ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE;
}

std::string SidText(PSID sid) {
  LPWSTR text = nullptr;
  if (!::ConvertSidToStringSidW(sid, &text)) return "an unknown account";
  std::string utf8 = win32::Utf8(text);
  ::LocalFree(text);
  return utf8;
}

// Empty when only trusted accounts own and may change the object; otherwise
// why not.
std::string WhyObjectUntrusted(const fs::path& object) {
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD status =
      ::GetNamedSecurityInfoW(object.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                              &owner, nullptr, &dacl, nullptr, &descriptor);
  if (status != ERROR_SUCCESS) return win32::ErrorText(status);
  std::unique_ptr<void, decltype(&::LocalFree)> held(descriptor, &::LocalFree);
  if (owner == nullptr || !IsTrustedSid(owner)) return "it belongs to " + (owner ? SidText(owner) : "nobody");
  if (dacl == nullptr) return "anyone may write it (no access list)";
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!::GetAce(dacl, i, &entry)) continue;
    const auto* header = static_cast<ACE_HEADER*>(entry);
    if ((header->AceFlags & INHERIT_ONLY_ACE) != 0 || IsDenyEntry(header->AceType)) continue;
    // Object, callback and compound entries may grant rights too.
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
      return "an access entry of type " + std::to_string(header->AceType) + " may grant others rights";
    }
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    PSID sid = const_cast<DWORD*>(&allowed->SidStart);
    if ((allowed->Mask & kChangingRights) != 0 && !IsTrustedSid(sid)) return SidText(sid) + " may write it";
  }
  return {};
}

// <temporary folder>\vlmr: the user's own temporary folder, which other
// users cannot enter.
std::optional<fs::path> PrivateFolderPath() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return std::nullopt;
  return fs::path(std::wstring(buffer, length)) / L"vlmr";
}

// An access list that gives the user, the administrators and the system
// everything and nobody else anything, inherited by what is made inside.
std::wstring PrivateSecurity() {
  LPWSTR user = nullptr;
  const std::vector<BYTE>& sid = UserSid();
  if (sid.empty() || !::ConvertSidToStringSidW(const_cast<BYTE*>(sid.data()), &user)) return L"";
  std::wstring sddl = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + std::wstring(user) + L")";
  ::LocalFree(user);
  return sddl;
}

bool MakePrivateFolder(const fs::path& folder) {
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  const std::wstring sddl = PrivateSecurity();
  if (sddl.empty() || !::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                          sddl.c_str(), SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr)) {
    return false;
  }
  const bool made = ::CreateDirectoryW(folder.c_str(), &attributes) != 0 || ::GetLastError() == ERROR_ALREADY_EXISTS;
  ::LocalFree(attributes.lpSecurityDescriptor);
  return made;
}

}  // namespace

std::optional<fs::path> UserPrivateFolder(std::string* why) {
  const std::optional<fs::path> place = PrivateFolderPath();
  if (!place) {
    *why = "the temporary folder is not known or its path is too long";
    return std::nullopt;
  }
  const fs::path& folder = *place;
  if (!MakePrivateFolder(folder)) {
    *why = win32::Utf8(folder.wstring()) + ": " + win32::ErrorText(::GetLastError());
    return std::nullopt;
  }
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    *why = win32::Utf8(folder.wstring()) + " is not a folder";
    return std::nullopt;
  }
  const std::string distrust = WhyObjectUntrusted(folder);
  if (!distrust.empty()) {
    *why = win32::Utf8(folder.wstring()) + ": " + distrust;
    return std::nullopt;
  }
  return folder;
}

std::string WhyUntrusted(const fs::path& file) {
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return win32::ErrorText(::GetLastError());
  if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    return "it is not a regular file";
  }
  std::string distrust = WhyObjectUntrusted(file);
  if (!distrust.empty()) return distrust;
  const fs::path folder = fs::absolute(file).parent_path();
  distrust = WhyObjectUntrusted(folder);
  return distrust.empty() ? std::string() : "its folder " + win32::Utf8(folder.wstring()) + ": " + distrust;
}

bool WritePrivateFile(const fs::path& file, std::string_view bytes, std::string* why) {
  // A name of its own beside the file (made and owned here), then one rename.
  wchar_t temporary[MAX_PATH + 1];
  if (::GetTempFileNameW(file.parent_path().c_str(), L"vlm", 0, temporary) == 0) {
    *why = win32::ErrorText(::GetLastError());
    return false;
  }
  bool written;
  {
    win32::Handle out(::CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
    written = out.valid();
    while (written && !bytes.empty()) {
      DWORD n = 0;
      const auto chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
      written = ::WriteFile(out.get(), bytes.data(), chunk, &n, nullptr) != 0 && n > 0;
      bytes.remove_prefix(n);
    }
    if (written) written = ::FlushFileBuffers(out.get()) != 0;
    if (!written) *why = win32::ErrorText(::GetLastError());
  }
  if (written && !::MoveFileExW(temporary, file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    written = false;
    *why = win32::ErrorText(::GetLastError());
  }
  if (!written) ::DeleteFileW(temporary);
  return written;
}

}  // namespace vlmr::platform
