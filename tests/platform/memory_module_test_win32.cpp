// The in-memory loader with the system's own services: a DLL with the C and
// C++ runtimes (their TLS callbacks and start-up, imports from the system)
// throws and catches inside itself; and the toolkit bound once per process
// through the registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/memory_module.h"
#include "platform/system_info.h"
#include "platform/toolkit_binding.h"
#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

std::string ImageBytes(const std::string& kind) {
  const std::string self = ExecutablePath();
  const std::string machine = SystemModuleServices().machine == kMachineAmd64 ? "amd64" : "i386";
  return test::ReadFileBytes(std::filesystem::path(std::u8string(self.begin(), self.end())).parent_path() /
                             "memory-module-images" / (kind + "-" + machine + ".dll"));
}

TEST(MemoryModuleOnWindows, AnExceptionThrownInsideTheLoadedRuntimeIsCaughtThere) {
  const std::string image = ImageBytes("throwing");
  MemoryModule* module = LoadMemoryModule(image.data(), image.size(), SystemModuleServices());
  ASSERT_NE(module, nullptr) << LastMemoryModuleError();
  using Catches = int(__cdecl*)(int);
  EXPECT_EQ(reinterpret_cast<Catches>(FindMemoryModuleExport(module, "CatchesItsOwnException"))(41), 42);
  ReleaseMemoryModule(module);
  // Nothing of the released runtime is left in the exception dispatch.
  EXPECT_THROW(throw std::runtime_error("after the release"), std::runtime_error);
}

TEST(ToolkitBinding, LoadsTheEmbeddedImageOnceAndRecordsItInTheProcessRegistry) {
  const std::string image = ImageBytes("image");
  // The toolkit stays loaded for the life of the process: keep it off the
  // preferred base, which the other tests want free.
  void* preferredBase = ::VirtualAlloc(reinterpret_cast<void*>(0x10000000), 0x10000, MEM_RESERVE, PAGE_NOACCESS);
  static bool boxShown = false;
  EXPECT_EQ(BindToolkit(nullptr, -9, image.data(), image.size(), [] { boxShown = true; }), nullptr);

  void* toolkit = BindToolkit(nullptr, 0, image.data(), image.size(), [] { boxShown = true; });
  ::VirtualFree(preferredBase, 0, MEM_RELEASE);
  ASSERT_NE(toolkit, nullptr);
  EXPECT_FALSE(boxShown);
  EXPECT_EQ(BindToolkit(nullptr, 0, image.data(), image.size(), nullptr), toolkit);
  EXPECT_EQ(BindToolkit(nullptr, -9, nullptr, 0, nullptr), toolkit);

  const std::string name = "LumoVostr_Win32_" + std::to_string(::GetCurrentProcessId()) + ".lib";
  HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
  ASSERT_NE(mapping, nullptr);
  const auto* registry = static_cast<const ToolkitRegistry*>(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
  ASSERT_NE(registry, nullptr);
  EXPECT_EQ(registry->mode, kToolkitFromMemory);
  EXPECT_EQ(registry->handle, reinterpret_cast<uintptr_t>(toolkit));
  EXPECT_EQ(registry->lookup, reinterpret_cast<uintptr_t>(BoundToolkitLookup()));
  auto* memoryModule = static_cast<MemoryModule*>(toolkit);
  EXPECT_EQ(BoundToolkitLookup()(toolkit, "ControlSendMessage"),
            FindMemoryModuleExport(memoryModule, "ControlSendMessage"));
  EXPECT_EQ(BoundToolkitLookup()(toolkit, "controlsendmessage"), nullptr);
  EXPECT_EQ(::GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_EQ(*static_cast<const LONG*>(FindMemoryModuleExport(memoryModule, "entry_attaches")), 1);
  ::UnmapViewOfFile(registry);
  ::CloseHandle(mapping);
}

}  // namespace
}  // namespace vlmr::platform
