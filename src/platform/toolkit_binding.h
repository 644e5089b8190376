// Binding the skinned-control toolkit once per process (Windows). The
// toolkit is a DLL image carried in the executable's read-only data and
// loaded from memory; a named shared-memory registry per process,
// "LumoVostr_Win32_<pid>.lib", records how it was loaded, so that every
// module of the process that carries its own copy of the host side finds the
// one loaded toolkit instead of loading another.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/calling_convention.h"

namespace vlmr::platform {

inline constexpr uintptr_t kToolkitNotLoaded = 0;
inline constexpr uintptr_t kToolkitFromFile = 1;    // by the system loader
inline constexpr uintptr_t kToolkitFromMemory = 2;  // by the in-memory loader

// An export of the loaded toolkit by name: GetProcAddress, or the in-memory
// loader's lookup, which has the same shape.
using ToolkitLookup = void*(VLMR_WINAPI*)(void* toolkit, const char* name);

// The registry's five words, pointer-sized.
struct ToolkitRegistry {
  uintptr_t mode;
  uintptr_t load;     // LoadLibraryA, or the in-memory loader's load entry
  uintptr_t lookup;   // a ToolkitLookup
  uintptr_t release;  // FreeLibrary, or the in-memory loader's release entry
  uintptr_t handle;   // the module handle, or the loaded-module record
};

inline constexpr size_t kToolkitRegistrySize = 1024;
static_assert(sizeof(ToolkitRegistry) <= kToolkitRegistrySize);

// Binds the toolkit and returns its handle (null when it could not be
// loaded, or no registry view could be had). A handle bound before is
// returned at once; `size` -9 only asks for it. Otherwise, when another
// module of the process has loaded the toolkit, that one is taken from the
// registry; else it is loaded: from the file `fileName` by the system loader
// when `size` is below 1, from the image at `fileName` when `size` is
// positive, from the `embedded` image when `fileName` is null.
// `onMemoryLoadFailure` runs when an in-memory load fails (the launcher
// tells the player).
void* BindToolkit(const char* fileName, intptr_t size, const void* embedded, size_t embeddedSize,
                  void (*onMemoryLoadFailure)());
// The lookup function of the toolkit bound: null before a binding.
ToolkitLookup BoundToolkitLookup();

}  // namespace vlmr::platform
