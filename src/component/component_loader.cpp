#include "component/component_loader.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "component/embedded_module.h"
#include "component/module_unpacking.h"
#include "platform/private_files.h"

namespace vlmr::component {
namespace {

namespace fs = std::filesystem;

const std::string kModuleName = std::string("TARNCore.") + kComponentVersion + ".dll";

struct Candidate {
  fs::path file;
  bool inProgramFolder;
};

std::vector<Candidate> Candidates(const LoaderPlaces& places) {
  std::vector<Candidate> candidates = {{places.currentFolder / kModuleName, true},
                                       {places.currentFolder / "TARN.dll", true},
                                       {places.currentFolder / "TARN.fne", true}};
  if (places.privateFolder) candidates.push_back({*places.privateFolder / kModuleName, false});
  return candidates;
}

void Tell(const fs::path& file, const std::string& why) {
  std::fprintf(stderr, "TARN: %s: %s\n", file.string().c_str(), why.c_str());
}

bool Exists(const fs::path& file) {
  std::error_code error;
  return fs::exists(file, error);
}

bool Holds(const fs::path& file, const std::string& bytes) {
  std::ifstream in(file, std::ios::binary);
  return in && std::string(std::istreambuf_iterator<char>(in), {}) == bytes;
}

// The carried module, unpacked when first asked for.
class CarriedModule {
 public:
  explicit CarriedModule(std::string_view packed) : packed_(packed) {}
  bool empty() const { return packed_.empty(); }
  const std::string& bytes() {
    if (!unpacked_) unpacked_ = UnpackModule(packed_);
    return *unpacked_;
  }

 private:
  std::string_view packed_;
  std::optional<std::string> unpacked_;
};

// Loads one module file and takes its entries and command table; nothing
// (with the reason told) when it is not a module of this component.
std::optional<LoadedModule> Open(const fs::path& file, ModuleOrigin origin) {
  std::string why;
  platform::ModuleHandle handle = platform::OpenModule(file, &why);
  if (handle == nullptr) {
    Tell(file, why);
    return std::nullopt;
  }
  auto notify = reinterpret_cast<NotifyEntry>(platform::ModuleEntry(handle, kNotifyEntryName));
  auto info = reinterpret_cast<InfoEntry>(platform::ModuleEntry(handle, kInfoEntryName));
  const ModuleInfo* record = notify && info ? info() : nullptr;
  if (record == nullptr || record->format != kModuleInfoFormat ||
      record->commandCount != uint32_t{kCommandCount} || record->commands == nullptr) {
    Tell(file, "not a TARN module of this launcher (entries or information record missing)");
    platform::CloseModule(handle);
    return std::nullopt;
  }
  return LoadedModule{origin, file, handle, notify, record->commands};
}

// A file the user controls is loaded; anything else is refused.
std::optional<LoadedModule> OpenTrusted(const Candidate& candidate, ModuleOrigin origin,
                                        LoadFailure* failure) {
  const std::string distrust = platform::WhyUntrusted(candidate.file);
  if (!distrust.empty()) {
    Tell(candidate.file, "refused: " + distrust);
    *failure = ModuleNotTrusted(candidate.file);
    return std::nullopt;
  }
  std::optional<LoadedModule> module = Open(candidate.file, origin);
  if (!module) *failure = ModuleDidNotLoad(candidate.file, candidate.inProgramFolder);
  return module;
}

// Where the unpacked module is written: the private folder, then the
// current folder.
std::vector<Candidate> ExtractionTargets(const LoaderPlaces& places) {
  std::vector<Candidate> targets;
  if (places.privateFolder) {
    targets.push_back({*places.privateFolder / kModuleName, false});
  } else {
    Tell(places.currentFolder, "no private folder (" + places.privateFolderProblem +
                                   "); the module is written to the program's folder");
  }
  targets.push_back({places.currentFolder / kModuleName, true});
  return targets;
}

// Writes the module to the target and loads it from there; what could not be
// loaded is removed again. A target that cannot be replaced because another
// launcher has just written the same module there and loaded it (Windows
// keeps a loaded module's file in place) is loaded as it is.
std::optional<LoadedModule> WriteAndOpen(const Candidate& target, const std::string& module,
                                         LoadFailure* failure) {
  std::string why;
  if (!platform::WritePrivateFile(target.file, module, &why)) {
    if (Holds(target.file, module)) return OpenTrusted(target, ModuleOrigin::FoundOnDisk, failure);
    Tell(target.file, "cannot write the module: " + why);
    *failure = ModuleNotWritten(target.file);
    return std::nullopt;
  }
  std::optional<LoadedModule> loaded = OpenTrusted(target, ModuleOrigin::WrittenByLoader, failure);
  if (!loaded) {
    std::error_code error;
    fs::remove(target.file, error);
  }
  return loaded;
}

}  // namespace

LoaderPlaces DefaultLoaderPlaces() {
  LoaderPlaces places;
  std::error_code error;
  places.currentFolder = fs::current_path(error);
  places.privateFolder = platform::UserPrivateFolder(&places.privateFolderProblem);
  places.packedModule = EmbeddedPackedModule();
  return places;
}

LoadedModule LoadComponentModule(const LoaderPlaces& places, LoadFailure* failure) {
  CarriedModule carried(places.packedModule);
  for (const Candidate& candidate : Candidates(places)) {
    if (!Exists(candidate.file)) continue;
    // The private folder holds the loader's own copy; one that is not the
    // carried module (left by another launcher, or damaged) is written anew.
    if (!candidate.inProgramFolder && !carried.empty() && !Holds(candidate.file, carried.bytes())) continue;
    if (auto module = OpenTrusted(candidate, ModuleOrigin::FoundOnDisk, failure)) return *module;
  }
  if (carried.empty()) {
    *failure = NoPackedModule();
    return {};
  }
  // A folder where it cannot be written or loaded (a temporary folder
  // mounted noexec, say) leaves the next one to try.
  for (const Candidate& target : ExtractionTargets(places)) {
    if (auto loaded = WriteAndOpen(target, carried.bytes(), failure)) return *loaded;
  }
  return {};
}

void RemoveWrittenFile(const LoadedModule& module) {
  if (module.origin != ModuleOrigin::WrittenByLoader) return;
  std::error_code error;
  fs::remove(module.path, error);
}

void UnloadComponentModule(LoadedModule& module) {
  platform::CloseModule(module.handle);
  RemoveWrittenFile(module);
  module = {};
}

}  // namespace vlmr::component
