// The launcher's heap, as seen from inside the component's module. Every
// text, byte array and array that a command hands back, and every block it
// frees for the caller, goes through the runtime's callback, which the module
// receives with its first notification: the launcher frees them with its own
// free operation, whichever heap this module's C library would use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/runtime_libraries.h"

namespace vlmr::component::host {

void SetRuntimeCallback(rt::RuntimeCallback callback);

// A new block of n bytes; null for n == 0 or before the runtime's callback
// has been handed over.
void* Allocate(size_t n);
// Null and constant-pool blocks are ignored, as by the launcher.
void Free(void* block);

// A text block (GBK bytes and NUL); null for the empty text.
char* NewText(std::string_view bytes);
// A byte-array block (int32 1, int32 length, bytes); null when empty.
uint8_t* NewByteArray(std::string_view bytes);
// A one-dimensional array block of pointers (texts or byte arrays), which it
// then owns; null elements stand for empty ones.
void* NewPointerArray(const std::vector<void*>& elements);
// Frees an array block of pointers and every block it holds.
void FreePointerArray(void* array);

}  // namespace vlmr::component::host
