#include "runtime/declared_functions.h"

#include <array>
#include <atomic>
#include <mutex>

#include "platform/system_libraries.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"

namespace vlmr::rt {
namespace {

struct Slot {
  DeclaredEntry entry;
  std::atomic<void*> address{nullptr};
  std::atomic<platform::LibraryHandle> module{nullptr};
};

const std::array<DeclaredEntry, kDeclaredFunctionCount> kTable = {{
    {"ole32.dll", "CoInitialize"},
    {"ole32.dll", "CoUninitialize"},
    {"msvcrt.dll", "strlen", CallingConvention::Cdecl},
    {"Kernel32.dll", "MultiByteToWideChar"},
    {"kernel32.dll", "GetFileAttributesW"},
    {"shlwapi.dll", "PathIsDirectoryW"},
    {"kernel32.dll", "LocalAlloc"},
    {"Kernel32.dll", "CreateDirectoryW"},
    {"kernel32.dll", "LocalFree"},
    {"Wininet.dll", "InternetGetConnectedState"},
    {"Wininet.dll", "InternetOpenA"},
    {"wininet.dll", "InternetOpenUrlA"},
    {"Wininet.dll", "HttpQueryInfoA"},
    {"Wininet.dll", "InternetReadFile"},
    {"", "CallWindowProcA"},
    {"wininet.dll", "InternetCloseHandle"},
    {"Cryptdll.dll", "MD5Init"},
    {"Cryptdll.dll", "MD5Update"},
    {"Cryptdll.dll", "MD5Update"},
    {"Cryptdll.dll", "MD5Final"},
}};

// The libraries searched, in order, for a function declared without one.
constexpr std::array<const char*, 6> kSystemLibraries = {
    "Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll"};

std::array<Slot, kDeclaredFunctionCount>& Slots() {
  static auto* slots = [] {
    auto* s = new std::array<Slot, kDeclaredFunctionCount>();
    for (size_t i = 0; i < kTable.size(); ++i) (*s)[i].entry = kTable[i];
    return s;
  }();
  return *slots;
}

std::mutex g_entryMutex;  // guards entry replacement, not the lookups

struct Found {
  platform::LibraryHandle module = nullptr;
  void* address = nullptr;
};

Found TryLibrary(const std::string& nameOrPath, const std::string& function) {
  platform::LibraryHandle module = platform::LoadSystemLibrary(nameOrPath);
  if (module == nullptr) return {};
  void* address = platform::FindLibraryExport(module, function);
  if (address == nullptr) {
    platform::FreeSystemLibrary(module);
    return {};
  }
  return {module, address};
}

Found Resolve(const DeclaredEntry& entry) {
  if (entry.library.empty()) {
    for (const char* library : kSystemLibraries) {
      if (Found found = TryLibrary(library, entry.function); found.address) return found;
    }
    return {};
  }
  if (entry.library.find(':') != std::string::npos) return TryLibrary(entry.library, entry.function);
  if (Found found = TryLibrary(ProgramDirectory() + "\\" + entry.library, entry.function);
      found.address) {
    return found;
  }
  return TryLibrary(entry.library, entry.function);
}

[[noreturn]] void NotFound(const DeclaredEntry& entry) {
  std::string message;
  if (entry.library.empty()) {
    message = std::string(PoolText("无法找到指定DLL库文件中的输出命令“")) + entry.function +
              PoolText("”");
  } else {
    message = std::string(PoolText("无法找到指定DLL库文件“")) + entry.library +
              PoolText("”中的输出命令“") + entry.function + PoolText("”");
  }
  fatal_message(message);
}

}  // namespace

void* ResolveDeclared(int32_t index) {
  Slot& slot = Slots().at(static_cast<size_t>(index));
  if (void* cached = slot.address.load(std::memory_order_acquire)) return cached;
  DeclaredEntry entry;
  {
    std::lock_guard lock(g_entryMutex);
    entry = slot.entry;
  }
  Found found = Resolve(entry);
  if (found.address == nullptr) NotFound(entry);
  // A second thread resolving the same index stores the same address; only
  // the first kept module is recorded, the other is released.
  platform::LibraryHandle expected = nullptr;
  if (!slot.module.compare_exchange_strong(expected, found.module)) {
    platform::FreeSystemLibrary(found.module);
  }
  slot.address.store(found.address, std::memory_order_release);
  return found.address;
}

CallingConvention DeclaredConvention(int32_t index) {
  std::lock_guard lock(g_entryMutex);
  return Slots().at(static_cast<size_t>(index)).entry.convention;
}

void PrepareDeclaredFunctions() {
  std::lock_guard lock(g_entryMutex);
  for (size_t i = 0; i < kTable.size(); ++i) {
    Slots()[i].entry = kTable[i];
    Slots()[i].address.store(nullptr);
  }
}

void ReleaseDeclaredModules() {
  for (Slot& slot : Slots()) {
    slot.address.store(nullptr);
    if (auto module = slot.module.exchange(nullptr)) platform::FreeSystemLibrary(module);
  }
}

void ReplaceDeclaredEntry(int32_t index, DeclaredEntry entry) {
  std::lock_guard lock(g_entryMutex);
  Slot& slot = Slots().at(static_cast<size_t>(index));
  slot.entry = std::move(entry);
  slot.address.store(nullptr);
  if (auto module = slot.module.exchange(nullptr)) platform::FreeSystemLibrary(module);
}

}  // namespace vlmr::rt
