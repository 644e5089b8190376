#include "platform/system_info.h"

#include <windows.h>

#include "platform/win32_text.h"

namespace vlmr::platform {

uint32_t TickCount() { return ::GetTickCount(); }

std::string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return win32::Utf8(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);  // cut short: ask again with room
  }
}

bool SetCurrentDirectoryNative(const std::string& nativeDirectory) {
  return !nativeDirectory.empty() && ::SetCurrentDirectoryW(win32::Wide(nativeDirectory).c_str()) != 0;
}


std::string UserStateFolder() {
  wchar_t buffer[32768];
  const DWORD n = ::GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, 32768);
  if (n == 0 || n >= 32768) return {};
  return win32::Utf8(std::wstring_view(buffer, n)) + "\\vlmr";
}

bool HasDesktop() { return true; }

}  // namespace vlmr::platform
