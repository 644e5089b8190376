#include "platform/web_browser.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32_text.h"

namespace vlmr::platform {

void OpenInBrowser(const std::string& utf8Address) {
  std::wstring address = win32::Wide(utf8Address);
  ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vlmr::platform
