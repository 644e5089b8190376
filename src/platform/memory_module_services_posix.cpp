#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "platform/memory_module.h"
#include "platform/system_libraries.h"

// The in-memory loader's services on Linux: anonymous mappings, the layer's
// own system libraries for the imports, and calls into x86-64 Windows code in
// its calling convention (ms_abi).
namespace vlmr::platform {
namespace {

size_t PageSize() { return static_cast<size_t>(::sysconf(_SC_PAGESIZE)); }

// The pages that hold [address, address + size).
std::pair<uintptr_t, size_t> WholePages(void* address, size_t size) {
  const uintptr_t page = PageSize();
  const uintptr_t start = reinterpret_cast<uintptr_t>(address) / page * page;
  const uintptr_t end = (reinterpret_cast<uintptr_t>(address) + size + page - 1) / page * page;
  return {start, end - start};
}

void* Allocate(void* address, size_t size, bool reserve, void*) {
  // A reservation is mapped read-write and zero-filled whole, so a commit
  // inside it has nothing left to do.
  if (!reserve) return address;
  constexpr int kPrivate = MAP_PRIVATE | MAP_ANONYMOUS;
  void* mapped;
  if (address != nullptr) {
    mapped = ::mmap(address, size, PROT_READ | PROT_WRITE, kPrivate | MAP_FIXED_NOREPLACE, -1, 0);
    if (mapped != MAP_FAILED && mapped != address) {  // a kernel that took the address as a hint
      ::munmap(mapped, size);
      return nullptr;
    }
  } else {
    // Below 2 GiB first, where a 32-bit image's relocated addresses still fit.
    mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, kPrivate | MAP_32BIT, -1, 0);
    if (mapped == MAP_FAILED) mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, kPrivate, -1, 0);
  }
  return mapped == MAP_FAILED ? nullptr : mapped;
}

void Release(void* address, size_t size, bool whole, void*) {
  const auto [start, length] = WholePages(address, size);
  if (whole) {
    ::munmap(reinterpret_cast<void*>(start), length);
  } else {  // decommitted: the pages are dropped and no longer accessible
    ::mmap(reinterpret_cast<void*>(start), length, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
  }
}

bool Protect(void* address, size_t size, uint32_t protection, void*) {
  int flags = PROT_NONE;
  if (protection & (kPageReadOnly | kPageExecuteRead)) flags = PROT_READ;
  if (protection & (kPageReadWrite | kPageWriteCopy | kPageExecuteReadWrite | kPageExecuteWriteCopy)) {
    flags = PROT_READ | PROT_WRITE;
  }
  if (protection & (kPageExecute | kPageExecuteRead | kPageExecuteReadWrite | kPageExecuteWriteCopy)) {
    flags |= PROT_EXEC;
  }
  const auto [start, length] = WholePages(address, size);
  return ::mprotect(reinterpret_cast<void*>(start), length, flags) == 0;
}

void* LoadLibrary(const char* name, void*) { return LoadSystemLibrary(name); }

void* GetProcedure(void* library, const char* name, uint16_t ordinal, void*) {
  return FindLibraryExport(library, name != nullptr ? std::string(name) : "#" + std::to_string(ordinal));
}

void FreeLibrary(void* library, void*) { FreeSystemLibrary(library); }

int32_t CallEntry(const void* function, void* base, uint32_t reason, void*) {
  using Entry = int32_t(__attribute__((ms_abi)) *)(void*, uint32_t, void*);
  return reinterpret_cast<Entry>(const_cast<void*>(function))(base, reason, nullptr);
}

// Exceptions never pass through Windows code run here.
bool AddUnwindTable(void*, uint32_t, void*, void*) { return true; }
void RemoveUnwindTable(void*, void*) {}

}  // namespace

const MemoryModuleServices& SystemModuleServices() {
  static const MemoryModuleServices services{kMachineAmd64, PageSize(), Allocate,   Release,        Protect,
                                             LoadLibrary,   GetProcedure, FreeLibrary, CallEntry,   AddUnwindTable,
                                             RemoveUnwindTable, nullptr};
  return services;
}

}  // namespace vlmr::platform
