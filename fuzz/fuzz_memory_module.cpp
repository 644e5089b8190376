// libFuzzer target: the in-memory loader on arbitrary images. The first byte
// picks the machine (even: x86-64, odd: i386), the rest is the image. The
// image's code is never run: the entry point and TLS callbacks are counted
// instead. Imports resolve against the layer's own system libraries. After a
// load, a few exports are looked up by name and ordinal, then the image is
// released. The sanitizers catch every read or write outside the image and
// the mapping.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/memory_module.h"
#include "platform/system_libraries.h"

namespace {

// The loader maps as much as the image's headers ask; keep each run small.
constexpr uint32_t kLargestImage = 16u << 20;

bool AsksForAHugeImage(const uint8_t* image, size_t size) {
  uint32_t nt;
  if (size < 64) return false;
  std::memcpy(&nt, image + 0x3C, 4);
  uint32_t sizeOfImage, sectionAlignment;
  if (uint64_t{nt} + 24 + 60 > size) return false;
  std::memcpy(&sectionAlignment, image + nt + 24 + 32, 4);
  std::memcpy(&sizeOfImage, image + nt + 24 + 56, 4);
  return sizeOfImage > kLargestImage || sectionAlignment > kLargestImage;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vlmr::platform;
  if (size < 1 || AsksForAHugeImage(data + 1, size - 1)) return 0;
  MemoryModuleServices services = SystemModuleServices();
  services.machine = data[0] % 2 == 0 ? kMachineAmd64 : kMachineI386;
  services.callEntry = [](const void*, void*, uint32_t, void*) -> int32_t { return 1; };
  // The built-in system libraries only: never a shared object named by a path.
  services.loadLibrary = [](const char* name, void*) -> void* {
    return std::strpbrk(name, "/\\:") != nullptr ? nullptr : LoadSystemLibrary(name);
  };
  MemoryModule* module = LoadMemoryModule(data + 1, size - 1, services);
  if (module == nullptr) return 0;
  for (const char* name : {"ControlSendMessage", "answer_value", "OnTls", "a"}) FindMemoryModuleExport(module, name);
  for (uintptr_t ordinal : {0u, 1u, 5u, 13u, 0xFFFFu}) {
    FindMemoryModuleExport(module, reinterpret_cast<const char*>(ordinal));
  }
  ReleaseMemoryModule(module);
  return 0;
}
