#include <windows.h>

#include <string>

#include "platform/memory_module.h"
#include "platform/toolkit_binding.h"

namespace vlmr::platform {
namespace {

// The in-memory loader's entries, in the shape the registry's users call.
void* VLMR_WINAPI LoadFromMemory(const void* image, size_t size) {
  MemoryModule* module = LoadMemoryModule(image, size, SystemModuleServices());
  if (module == nullptr) ::SetLastError(LastMemoryModuleError());
  return module;
}
void* VLMR_WINAPI LookupInMemory(void* module, const char* name) {
  void* address = FindMemoryModuleExport(static_cast<MemoryModule*>(module), name);
  if (address == nullptr) ::SetLastError(LastMemoryModuleError());
  return address;
}
void VLMR_WINAPI ReleaseFromMemory(void* module) { ReleaseMemoryModule(static_cast<MemoryModule*>(module)); }

// This module's binding.
struct Bound {
  void* handle = nullptr;
  ToolkitLookup lookup = nullptr;
};
Bound bound;

// The process's registry, opened or made, and mapped once for the life of
// the process (as the toolkit stays); null when no view can be had.
ToolkitRegistry* OpenRegistry() {
  static ToolkitRegistry* view = [] {
    const std::string name = "LumoVostr_Win32_" + std::to_string(::GetCurrentProcessId()) + ".lib";
    // Opens the mapping when another module of the process made it.
    HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0,
                                          kToolkitRegistrySize, name.c_str());
    if (mapping == nullptr) return static_cast<ToolkitRegistry*>(nullptr);
    // The handle stays open with the view: it keeps the name, by which the
    // process's other modules find the registry.
    void* mapped = ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kToolkitRegistrySize);
    if (mapped == nullptr) ::CloseHandle(mapping);
    return static_cast<ToolkitRegistry*>(mapped);
  }();
  return view;
}

ToolkitRegistry Load(const char* fileName, intptr_t size, const void* embedded, size_t embeddedSize,
                     void (*onMemoryLoadFailure)()) {
  if (fileName != nullptr && size < 1) {
    return {kToolkitFromFile, reinterpret_cast<uintptr_t>(&::LoadLibraryA),
            reinterpret_cast<uintptr_t>(&::GetProcAddress), reinterpret_cast<uintptr_t>(&::FreeLibrary),
            reinterpret_cast<uintptr_t>(::LoadLibraryA(fileName))};
  }
  void* handle = fileName != nullptr ? LoadFromMemory(fileName, static_cast<size_t>(size))
                                     : LoadFromMemory(embedded, embeddedSize);
  if (handle == nullptr && onMemoryLoadFailure != nullptr) onMemoryLoadFailure();
  return {kToolkitFromMemory, reinterpret_cast<uintptr_t>(&LoadFromMemory),
          reinterpret_cast<uintptr_t>(&LookupInMemory), reinterpret_cast<uintptr_t>(&ReleaseFromMemory),
          reinterpret_cast<uintptr_t>(handle)};
}

}  // namespace

void* BindToolkit(const char* fileName, intptr_t size, const void* embedded, size_t embeddedSize,
                  void (*onMemoryLoadFailure)()) {
  if (bound.handle != nullptr || size == -9) return bound.handle;
  ToolkitRegistry* registry = OpenRegistry();
  if (registry == nullptr) return nullptr;
  // Binding happens once, on the UI thread, before any worker exists. The
  // mode is written last, so a module that finds it set finds the rest too.
  if (registry->mode == kToolkitNotLoaded) {
    const ToolkitRegistry loaded = Load(fileName, size, embedded, embeddedSize, onMemoryLoadFailure);
    registry->load = loaded.load;
    registry->lookup = loaded.lookup;
    registry->release = loaded.release;
    registry->handle = loaded.handle;
    registry->mode = loaded.mode;
  }
  bound = {reinterpret_cast<void*>(registry->handle), reinterpret_cast<ToolkitLookup>(registry->lookup)};
  return bound.handle;
}

ToolkitLookup BoundToolkitLookup() { return bound.handle != nullptr ? bound.lookup : nullptr; }

}  // namespace vlmr::platform
