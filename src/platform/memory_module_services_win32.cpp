#include <windows.h>

#include "platform/memory_module.h"

// The in-memory loader's services on Windows: the virtual-memory functions,
// the system loader for the image's imports, and the unwind table registered
// with the system on x86-64.
namespace vlmr::platform {
namespace {

size_t PageSize() {
  SYSTEM_INFO info;
  ::GetNativeSystemInfo(&info);
  return info.dwPageSize;
}

void* Allocate(void* address, size_t size, bool reserve, void*) {
  return ::VirtualAlloc(address, size, reserve ? MEM_RESERVE | MEM_COMMIT : MEM_COMMIT, PAGE_READWRITE);
}

void Release(void* address, size_t size, bool whole, void*) {
  ::VirtualFree(address, whole ? 0 : size, whole ? MEM_RELEASE : MEM_DECOMMIT);
}

bool Protect(void* address, size_t size, uint32_t protection, void*) {
  DWORD previous;
  return ::VirtualProtect(address, size, protection, &previous) != 0;
}

void* LoadLibrary(const char* name, void*) { return ::LoadLibraryA(name); }

void* GetProcedure(void* library, const char* name, uint16_t ordinal, void*) {
  return reinterpret_cast<void*>(
      ::GetProcAddress(static_cast<HMODULE>(library), name != nullptr ? name : MAKEINTRESOURCEA(ordinal)));
}

void FreeLibrary(void* library, void*) { ::FreeLibrary(static_cast<HMODULE>(library)); }

int32_t CallEntry(const void* function, void* base, uint32_t reason, void*) {
  using Entry = BOOL(WINAPI*)(void*, DWORD, void*);
  return reinterpret_cast<Entry>(const_cast<void*>(function))(base, reason, nullptr);
}

#if defined(_WIN64)
bool AddUnwindTable(void* table, uint32_t entries, void* base, void*) {
  return ::RtlAddFunctionTable(static_cast<PRUNTIME_FUNCTION>(table), entries, reinterpret_cast<DWORD64>(base));
}
void RemoveUnwindTable(void* table, void*) { ::RtlDeleteFunctionTable(static_cast<PRUNTIME_FUNCTION>(table)); }
constexpr uint16_t kOwnMachine = kMachineAmd64;
#else
// 32-bit code unwinds through the exception records on the stack: no table.
bool AddUnwindTable(void*, uint32_t, void*, void*) { return true; }
void RemoveUnwindTable(void*, void*) {}
constexpr uint16_t kOwnMachine = kMachineI386;
#endif

}  // namespace

const MemoryModuleServices& SystemModuleServices() {
  static const MemoryModuleServices services{kOwnMachine, PageSize(),   Allocate,   Release,        Protect,
                                             LoadLibrary, GetProcedure, FreeLibrary, CallEntry,     AddUnwindTable,
                                             RemoveUnwindTable, nullptr};
  return services;
}

}  // namespace vlmr::platform
