// Bringing the component's module into the process: a module file on disk
// that the user controls, or else the module carried inside the launcher,
// unpacked into a folder private to the user.
//
// Candidates, in order (each only when its file exists):
//   1. <current folder>/TARNCore.2.7.2.dll
//   2. <current folder>/TARN.dll
//   3. <current folder>/TARN.fne
//   4. <private folder>/TARNCore.2.7.2.dll
// The names are kept on every system; on Linux the files are ELF shared
// objects. A candidate that another user could have planted or changed (see
// platform::WhyUntrusted) is refused. When none loads, the carried module is
// unpacked and written, under a name of its own first and then renamed, to
// candidate 4's path, or to candidate 1's when the private folder cannot be
// had, or the module cannot be written or loaded there; and loaded from there.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "component/load_failure.h"
#include "component/module_info.h"
#include "platform/dynamic_library.h"

namespace vlmr::component {

enum class ModuleOrigin {
  None,             // not loaded
  WrittenByLoader,  // unpacked and written by the loader; its file is deleted at the end
  FoundOnDisk,      // a file that was there already; left in place
};

struct LoaderPlaces {
  std::filesystem::path currentFolder;
  std::optional<std::filesystem::path> privateFolder;  // none: privateFolderProblem says why
  std::string privateFolderProblem;
  std::string_view packedModule;
};
// The process's current folder (the program's folder after the runtime's
// initialisation), the user's private folder and the carried module.
LoaderPlaces DefaultLoaderPlaces();

struct LoadedModule {
  ModuleOrigin origin = ModuleOrigin::None;
  std::filesystem::path path;
  platform::ModuleHandle handle = nullptr;
  NotifyEntry notify = nullptr;
  const rt::CommandFn* commands = nullptr;  // kCommandCount of them
};

// Loads the module; origin None when nothing could be loaded, with the last
// failure in *failure. Each failed attempt is also told on standard error.
LoadedModule LoadComponentModule(const LoaderPlaces& places, LoadFailure* failure);

// Deletes the module's file when the loader wrote it; the module stays loaded.
void RemoveWrittenFile(const LoadedModule& module);
// Unloads the module, then deletes its file when the loader wrote it.
void UnloadComponentModule(LoadedModule& module);

}  // namespace vlmr::component
