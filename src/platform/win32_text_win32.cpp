#include "platform/win32_text.h"

namespace vlmr::platform::win32 {
namespace {

constexpr int64_t kIntervalsFrom1601To1970 = 116444736000000000LL;

}  // namespace

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr,
                        nullptr);
  return utf8;
}

std::wstring WidePath(std::string_view nativeUtf8Path) {
  std::wstring wide = Wide(nativeUtf8Path);
  const bool absolute = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\';
  if (absolute && wide.size() >= MAX_PATH) return L"\\\\?\\" + wide;
  return wide;
}

std::string ErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n > 0 && text ? std::wstring(text, n) : L"error " + std::to_wstring(error);
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.')) {
    message.pop_back();
  }
  return Utf8(message);
}

int64_t UnixNanoseconds(const FILETIME& time) {
  LARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = static_cast<LONG>(time.dwHighDateTime);
  return UnixNanoseconds(value);
}

int64_t UnixNanoseconds(const LARGE_INTEGER& time) { return (time.QuadPart - kIntervalsFrom1601To1970) * 100; }

}  // namespace vlmr::platform::win32
