#include "platform/system_libraries.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "platform/native_path.h"
#include "platform/win32_text.h"

namespace vlmr::platform {
namespace {

// The system libraries the declared-function table names. A path whose last
// component is one of them loads the system's own, never a file of that name
// in the program directory.
constexpr std::array<std::string_view, 11> kSystemLibraries = {
    "kernel32", "gdi32", "user32", "advapi32", "mpr", "shell32",
    "ole32",    "msvcrt", "shlwapi", "wininet", "cryptdll"};

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return lower;
}

// The system library a name or path stands for, without ".dll"; nullopt for others.
std::optional<std::string> SystemLibraryName(std::string_view gbkNameOrPath) {
  const size_t slash = gbkNameOrPath.find_last_of("\\/");
  std::string name = LowerAscii(slash == std::string_view::npos ? gbkNameOrPath : gbkNameOrPath.substr(slash + 1));
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0) name.resize(name.size() - 4);
  if (std::find(kSystemLibraries.begin(), kSystemLibraries.end(), name) == kSystemLibraries.end()) {
    return std::nullopt;
  }
  return name + ".dll";
}

// The ordinal a "#n" name gives (low 16 bits of n); empty for any other name.
std::optional<WORD> ParseOrdinal(std::string_view function) {
  if (function.size() < 2 || function.front() != '#') return std::nullopt;
  uint32_t value = 0;
  for (char c : function.substr(1)) {
    if (c < '0' || c > '9') return std::nullopt;
    value = (value * 10 + static_cast<uint32_t>(c - '0')) & 0xFFFFFFu;
  }
  return static_cast<WORD>(value & 0xFFFFu);
}

}  // namespace

LibraryHandle LoadSystemLibrary(std::string_view gbkNameOrPath) {
  if (gbkNameOrPath.empty()) return nullptr;
  if (std::optional<std::string> system = SystemLibraryName(gbkNameOrPath)) {
    return ::LoadLibraryExW(win32::Wide(*system).c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  const std::string native = ToNativePath(gbkNameOrPath);
  if (native.empty()) return nullptr;
  const std::wstring wide = win32::WidePath(native);
  const bool isPath = native.find('\\') != std::string::npos || native.find(':') != std::string::npos;
  if (isPath && ::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return nullptr;
  return ::LoadLibraryW(wide.c_str());
}

void* FindLibraryExport(LibraryHandle library, std::string_view function) {
  if (library == nullptr || function.empty()) return nullptr;
  auto* module = static_cast<HMODULE>(library);
  if (std::optional<WORD> ordinal = ParseOrdinal(function)) {
    return reinterpret_cast<void*>(::GetProcAddress(module, MAKEINTRESOURCEA(*ordinal)));
  }
  return reinterpret_cast<void*>(::GetProcAddress(module, std::string(function).c_str()));
}

void FreeSystemLibrary(LibraryHandle library) {
  if (library != nullptr) ::FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace vlmr::platform
