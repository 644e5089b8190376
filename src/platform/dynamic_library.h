// Loading a module (a shared library of the program's own architecture) by
// its path, finding its entries by name, and unloading it.
#pragma once

#include <filesystem>
#include <string>

namespace vlmr::platform {

using ModuleHandle = void*;

// Loads the module at `path` with every reference resolved now and none of
// its symbols offered to later modules. Null, with the system's reason in
// *why, when it cannot be loaded.
ModuleHandle OpenModule(const std::filesystem::path& path, std::string* why);
// An entry of the module by name; null when it has none.
void* ModuleEntry(ModuleHandle module, const char* name);
// Unloads the module; null is ignored.
void CloseModule(ModuleHandle module);

}  // namespace vlmr::platform
