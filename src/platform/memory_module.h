// Loading a Windows DLL image from memory, without the system loader and
// without a file: the image's headers and sections are mapped, relocated, its
// imports resolved, its pages protected, its TLS callbacks and entry point
// run; its exports are then found by name or ordinal. The skinned-control
// toolkit is carried this way inside the Windows executable.
//
// The loader itself is portable: everything it needs from the system (memory,
// libraries, calling into the image) comes through MemoryModuleServices, so
// the same code maps images on Linux too. It takes i386 (PE32) and x86-64
// (PE32+) images, of the one machine its services name.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vlmr::platform {

// The Windows error codes a failed load or lookup leaves behind.
inline constexpr uint32_t kErrorInvalidData = 13;
inline constexpr uint32_t kErrorOutOfMemory = 14;
inline constexpr uint32_t kErrorModNotFound = 126;
inline constexpr uint32_t kErrorProcNotFound = 127;
inline constexpr uint32_t kErrorBadExeFormat = 193;
inline constexpr uint32_t kErrorInvalidAddress = 487;  // a page protection the system refused
inline constexpr uint32_t kErrorDllInitFailed = 1114;

inline constexpr uint16_t kMachineI386 = 0x014C;
inline constexpr uint16_t kMachineAmd64 = 0x8664;

// Page protections, as Windows numbers them.
inline constexpr uint32_t kPageNoAccess = 0x01;
inline constexpr uint32_t kPageReadOnly = 0x02;
inline constexpr uint32_t kPageReadWrite = 0x04;
inline constexpr uint32_t kPageWriteCopy = 0x08;
inline constexpr uint32_t kPageExecute = 0x10;
inline constexpr uint32_t kPageExecuteRead = 0x20;
inline constexpr uint32_t kPageExecuteReadWrite = 0x40;
inline constexpr uint32_t kPageExecuteWriteCopy = 0x80;
inline constexpr uint32_t kPageNoCache = 0x200;

struct MemoryModuleServices {
  uint16_t machine;  // the only image machine taken
  size_t pageSize;
  // Reserves and commits (`reserve` true) or commits inside a reservation
  // `size` read-write, zero-filled bytes at `address`, or anywhere for a null
  // address when reserving. Null when the system refuses.
  void* (*allocate)(void* address, size_t size, bool reserve, void* user);
  // Decommits `size` bytes at `address` (`whole` false), or releases the
  // whole reservation of `size` bytes that starts at `address`.
  void (*release)(void* address, size_t size, bool whole, void* user);
  // Sets the pages of [address, address + size) to a kPage* protection.
  bool (*protect)(void* address, size_t size, uint32_t protection, void* user);
  void* (*loadLibrary)(const char* name, void* user);  // null when it cannot be loaded
  // An export of a library by name, or by `ordinal` when `name` is null.
  void* (*getProcedure)(void* library, const char* name, uint16_t ordinal, void* user);
  void (*freeLibrary)(void* library, void* user);
  // Calls a TLS callback or the entry point with (base, reason, null) in the
  // system's calling convention and returns its result.
  int32_t (*callEntry)(const void* function, void* base, uint32_t reason, void* user);
  // Registers the unwind table of an x86-64 image (its exception directory)
  // so that exceptions can pass through its code; and removes it again.
  bool (*addUnwindTable)(void* table, uint32_t entries, void* base, void* user);
  void (*removeUnwindTable)(void* table, void* user);
  void* user;  // handed to every service
};

// The system's services, for images of this process's own machine.
const MemoryModuleServices& SystemModuleServices();

// The loaded-module record.
struct MemoryModule;

// Loads the image of `size` bytes at `image`. Null on failure, with the
// reason in LastMemoryModuleError(); whatever was built is released.
MemoryModule* LoadMemoryModule(const void* image, size_t size, const MemoryModuleServices& services);
// An export by name (exact, case-sensitive) or by ordinal: a value below
// 0x10000 is an ordinal, as GetProcAddress takes it. Null when there is none,
// with kErrorProcNotFound in LastMemoryModuleError().
void* FindMemoryModuleExport(MemoryModule* module, const char* nameOrOrdinal);
// Runs the entry point's detach, frees the imported libraries and releases
// the image. Null is ignored.
void ReleaseMemoryModule(MemoryModule* module);

// Where the image was mapped.
void* MemoryModuleBase(const MemoryModule* module);
// Why the last load or lookup on this thread failed.
uint32_t LastMemoryModuleError();

}  // namespace vlmr::platform
