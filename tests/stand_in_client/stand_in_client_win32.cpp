// CorvaneQXT.EXE for the tests: writes the command line it was started with,
// exactly as the system hands it over, and its working directory into
// client-run.txt beside itself (UTF-8, one per line), under a temporary name
// first so that a reader never sees half of it.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& wide) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), utf8.data(), n, nullptr,
                        nullptr);
  return utf8;
}

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/")); }

}  // namespace

int wmain() {
  wchar_t self[32768];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, 32768);
  wchar_t current[32768];
  const DWORD currentLength = ::GetCurrentDirectoryW(32768, current);
  const std::string record = Utf8(::GetCommandLineW()) + "\n" + Utf8(std::wstring(current, currentLength)) + "\n";
  const std::wstring folder = Folder(std::wstring(self, length));
  const std::wstring part = folder + L"\\client-run.part";
  HANDLE file = ::CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  ::CloseHandle(file);
  return ::MoveFileExW(part.c_str(), (folder + L"\\client-run.txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
