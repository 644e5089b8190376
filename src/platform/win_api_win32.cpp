#include "platform/win_api.h"

#include <objbase.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstring>

// The system's own functions under the layer's names: on Windows the
// declared-function table loads the real libraries, and these serve the code
// that calls the layer directly.
namespace vlmr::platform::win {
namespace {

const wchar_t* AsWide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

}  // namespace

uint32_t GetFileAttributesW(const char16_t* widePath) {
  return widePath == nullptr ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(AsWide(widePath));
}

int32_t CreateDirectoryW(const char16_t* widePath, const void* securityAttributes) {
  return widePath != nullptr &&
         ::CreateDirectoryW(AsWide(widePath),
                            static_cast<LPSECURITY_ATTRIBUTES>(const_cast<void*>(securityAttributes)));
}

void* LocalAlloc(uint32_t flags, size_t bytes) { return ::LocalAlloc(flags, bytes); }

void* LocalFree(void* memory) { return ::LocalFree(memory); }

int32_t PathIsDirectoryW(const char16_t* widePath) {
  return widePath == nullptr ? 0 : static_cast<int32_t>(::PathIsDirectoryW(AsWide(widePath)));
}

int32_t CoInitialize(const void* reserved) { return ::CoInitialize(const_cast<void*>(reserved)); }

void CoUninitialize() { ::CoUninitialize(); }

size_t strlen(const char* text) { return text == nullptr ? 0 : std::strlen(text); }

intptr_t CallWindowProcA(void* procedure, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
  if (procedure == nullptr) return 0;
  return ::CallWindowProcA(reinterpret_cast<WNDPROC>(procedure), reinterpret_cast<HWND>(a),
                           static_cast<UINT>(b), static_cast<WPARAM>(c), static_cast<LPARAM>(d));
}

}  // namespace vlmr::platform::win
