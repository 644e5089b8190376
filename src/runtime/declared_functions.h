// The declared-function table: 20 system-library functions the launcher logic
// calls directly, resolved by library and function name on first use.
#pragma once

#include <cstdint>
#include <string>

#include "platform/calling_convention.h"

namespace vlmr::rt {

enum DeclaredIndex : int32_t {
  kDeclCoInitialize = 0,
  kDeclCoUninitialize = 1,
  kDeclStrlen = 2,
  kDeclMultiByteToWideChar = 3,
  kDeclGetFileAttributesW = 4,
  kDeclPathIsDirectoryW = 5,
  kDeclLocalAlloc = 6,
  kDeclCreateDirectoryW = 7,
  kDeclLocalFree = 8,
  kDeclInternetGetConnectedState = 9,
  kDeclInternetOpenA = 10,
  kDeclInternetOpenUrlA = 11,
  kDeclHttpQueryInfoA = 12,
  kDeclInternetReadFile = 13,
  kDeclCallWindowProcA = 14,
  kDeclInternetCloseHandle = 15,
  kDeclMD5Init = 16,
  kDeclMD5Update = 17,
  kDeclMD5Update2 = 18,
  kDeclMD5Final = 19,
  kDeclaredFunctionCount = 20,
};

enum class CallingConvention { Winapi, Cdecl };

struct DeclaredEntry {
  std::string library;   // used exactly as listed; empty: the six system libraries
  std::string function;  // "#n" names ordinal n
  CallingConvention convention = CallingConvention::Winapi;  // strlen of msvcrt is C's
};

// The function's address, resolved and cached on first use. A function that
// cannot be found is fatal: "无法找到指定DLL库文件“%s”中的输出命令“%s”".
void* ResolveDeclared(int32_t index);

// The calling convention entry `index` is called with.
CallingConvention DeclaredConvention(int32_t index);

// Calls a declared function with plain machine arguments, in its own calling
// convention (the system's functions are stdcall on 32-bit Windows).
template <typename R, typename... A>
R call_declared(int32_t index, A... args) {
  void* function = ResolveDeclared(index);
  if (DeclaredConvention(index) == CallingConvention::Cdecl) {
    return reinterpret_cast<R (*)(A...)>(function)(args...);
  }
  return reinterpret_cast<R(VLMR_WINAPI*)(A...)>(function)(args...);
}

// Fills the table from its 20 names with empty caches (runtime initialisation).
void PrepareDeclaredFunctions();
// Releases every module the table kept (end of program).
void ReleaseDeclaredModules();
// Replaces one entry's names and clears its cache (tests of the resolution rules).
void ReplaceDeclaredEntry(int32_t index, DeclaredEntry entry);

}  // namespace vlmr::rt
