#include <windows.h>

#include "platform/dynamic_library.h"
#include "platform/win32_text.h"

namespace vlmr::platform {

ModuleHandle OpenModule(const std::filesystem::path& path, std::string* why) {
  // An absolute path, and the module's own folder searched for what it
  // imports instead of the program's.
  const std::filesystem::path absolute = std::filesystem::absolute(path);
  HMODULE module = ::LoadLibraryExW(absolute.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) *why = win32::ErrorText(::GetLastError());
  return module;
}

void* ModuleEntry(ModuleHandle module, const char* name) {
  return module ? reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name)) : nullptr;
}

void CloseModule(ModuleHandle module) {
  if (module != nullptr) ::FreeLibrary(static_cast<HMODULE>(module));
}

}  // namespace vlmr::platform
