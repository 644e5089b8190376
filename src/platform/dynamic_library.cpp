#include "platform/dynamic_library.h"

#include <dlfcn.h>

namespace vlmr::platform {

ModuleHandle OpenModule(const std::filesystem::path& path, std::string* why) {
  // An absolute path: dlopen then searches no system folder.
  const std::string absolute = std::filesystem::absolute(path).string();
  dlerror();
  ModuleHandle module = dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = dlerror();
    *why = reason ? reason : "the module cannot be loaded";
  }
  return module;
}

void* ModuleEntry(ModuleHandle module, const char* name) {
  return module ? dlsym(module, name) : nullptr;
}

void CloseModule(ModuleHandle module) {
  if (module != nullptr) dlclose(module);
}

}  // namespace vlmr::platform
