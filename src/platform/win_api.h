// Windows-shaped functions that the declared-function table resolves to. They
// take plain machine values as the launcher logic passes them: GBK texts as
// byte pointers, wide paths as UTF-16 code units with a terminating zero.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vlmr::platform::win {

// kernel32
uint32_t GetFileAttributesW(const char16_t* widePath);
int32_t CreateDirectoryW(const char16_t* widePath, const void* securityAttributes);
inline constexpr uint32_t kLmemFixed = 0x0000;
inline constexpr uint32_t kLmemZeroInit = 0x0040;
void* LocalAlloc(uint32_t flags, size_t bytes);
void* LocalFree(void* memory);  // null on success
// MultiByteToWideChar is in codepage.h with the same shape.

// shlwapi: 16 (the directory attribute) for a directory, 0 otherwise.
int32_t PathIsDirectoryW(const char16_t* widePath);

// ole32: no-ops that report success (S_OK, 0).
int32_t CoInitialize(const void* reserved);
void CoUninitialize();

// msvcrt
size_t strlen(const char* text);

// user32: calls procedure(a, b, c, d) and returns its result.
intptr_t CallWindowProcA(void* procedure, intptr_t a, intptr_t b, intptr_t c, intptr_t d);

}  // namespace vlmr::platform::win
