// A library that shares the launcher's process, as a program using the
// launcher's cache exports would: loaded with LD_PRELOAD, it takes the
// launcher's SDL_CreateWindow. When the launcher makes its first window (start-up
// has loaded the component by then), the probe finds the twelve exports by
// name in the process, makes a cache of each kind through the component's
// create commands, calls every export and writes what each answered to the
// file $VLMR_PROBE_REPORT; then it ends the process with exit code 0.
// $VLMR_PROBE_MEMCACHED is the Memcached server ("host:port").
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "component/cache_calls.h"
#include "component/cache_exports.h"

namespace vlmr::test {
namespace {

// The component's module among the loaded objects, by its file name.
std::string LoadedModulePath() {
  std::string found;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        const std::string name = info->dlpi_name ? info->dlpi_name : "";
        for (const char* file : {"/TARNCore.2.7.2.dll", "/TARN.dll", "/TARN.fne"}) {
          if (name.ends_with(file)) *static_cast<std::string*>(data) = name;
        }
        return 0;
      },
      &found);
  return found;
}

// The create, release, clone, count and add commands from the module's own
// table; the twelve member commands through the launcher's exports.
bool FindCalls(const std::string& module, CacheCalls& calls, std::ofstream& report) {
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD);
  auto info = handle ? reinterpret_cast<component::InfoEntry>(dlsym(handle, "GetNewInf")) : nullptr;
  if (info == nullptr) return false;
  for (int32_t n = component::kCacheCreate; n <= component::kCacheAdd; ++n) {
    calls[n] = info()->commands[n];
  }
  bool all = true;
#define VLMR_FIND_EXPORT(name, number)                                                 \
  calls[component::number] = reinterpret_cast<rt::CommandFn>(dlsym(RTLD_DEFAULT, #name)); \
  all = all && calls[component::number] != nullptr;                                    \
  report << "export " #name " " << (calls[component::number] ? "found" : "missing") << "\n";
  VLMR_CACHE_EXPORTS(VLMR_FIND_EXPORT)
#undef VLMR_FIND_EXPORT
  return all;
}

std::string Joined(const std::optional<std::vector<std::string>>& pairs) {
  if (!pairs) return "failed";
  std::string text;
  for (const std::string& pair : *pairs) text += (text.empty() ? "" : ",") + pair;
  return text;
}

void Exercise(const std::string& kind, TestCache& c, std::ofstream& report) {
  const bool made = kind == "local" ? c.CreateLocal(100, 1 << 16)
                                    : c.CreateMemcached(std::getenv("VLMR_PROBE_MEMCACHED"), 2);
  report << kind << " create " << made << "\n";
  report << kind << " tarn_CacheSet " << c.Set("k1", "v1") << "\n";
  report << kind << " tarn_CacheGet " << c.Get("k1").value_or("(none)") << "\n";
  report << kind << " tarn_CacheSetText " << c.SetText("k2", "text") << "\n";
  report << kind << " tarn_CacheGetText " << c.GetText("k2") << "\n";
  report << kind << " tarn_CacheGetMulti " << Joined(c.MultiGet({"k1", "none", "k2"}, false)) << "\n";
  report << kind << " tarn_CacheGetMultiText " << Joined(c.MultiGet({"k2", "k1"}, true)) << "\n";
  report << kind << " tarn_CacheExists " << c.Exists("k1") << "\n";
  report << kind << " tarn_CacheDelete " << c.Delete("k1") << c.Exists("k1") << "\n";
  report << kind << " tarn_CacheIncr " << c.Incr("n", 5) << "\n";
  report << kind << " tarn_CacheDecr " << c.Decr("n", 2) << "\n";
  report << kind << " tarn_CacheSetExpire " << c.SetExpire("k2", 60) << c.SetExpire("none", 60) << "\n";
  report << kind << " tarn_CacheClear " << c.Clear() << c.Exists("k2") << "\n";
}

void Probe(const char* title) {
  std::ofstream report(std::getenv("VLMR_PROBE_REPORT"));
  report << "window " << title << "\n";
  const std::string module = LoadedModulePath();
  report << "module " << module << "\n";
  CacheCalls calls;
  if (module.empty() || !FindCalls(module, calls, report)) return;
  for (const char* kind : {"local", "memcached"}) {
    TestCache cache(calls);
    Exercise(kind, cache, report);
  }
}

}  // namespace
}  // namespace vlmr::test

extern "C" void* SDL_CreateWindow(const char* title, int, int, int, int, uint32_t) {
  vlmr::test::Probe(title ? title : "");
  _exit(0);
}
