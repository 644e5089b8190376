#include "platform/win_api.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "platform/file_system.h"

namespace vlmr::platform::win {
namespace {

// Longest wide path Windows accepts (with the "\\?\" prefix); a longer or
// unterminated run of units is not read further.
constexpr size_t kMaxWidePath = 32767;

// The launcher (GBK) form of a zero-terminated wide path; empty for null,
// empty or over-long input.
std::string LauncherPath(const char16_t* widePath) {
  if (widePath == nullptr) return {};
  size_t length = 0;
  while (length <= kMaxWidePath && widePath[length] != 0) ++length;
  if (length > kMaxWidePath) return {};
  return Utf16ToGbk(std::u16string_view(widePath, length));
}

}  // namespace

uint32_t GetFileAttributesW(const char16_t* widePath) {
  std::string path = LauncherPath(widePath);
  return path.empty() ? kInvalidFileAttributes : FileAttributes(path);
}

int32_t CreateDirectoryW(const char16_t* widePath, const void* /*securityAttributes*/) {
  std::string path = LauncherPath(widePath);
  return !path.empty() && CreateOneDirectory(path) ? 1 : 0;
}

void* LocalAlloc(uint32_t flags, size_t bytes) {
  size_t size = bytes == 0 ? 1 : bytes;  // a zero-byte block is still a valid block
  return (flags & kLmemZeroInit) != 0 ? std::calloc(1, size) : std::malloc(size);
}

void* LocalFree(void* memory) {
  std::free(memory);
  return nullptr;
}

int32_t PathIsDirectoryW(const char16_t* widePath) {
  uint32_t attributes = GetFileAttributesW(widePath);
  if (attributes == kInvalidFileAttributes) return 0;
  return static_cast<int32_t>(attributes & kFileAttributeDirectory);
}

int32_t CoInitialize(const void* /*reserved*/) { return 0; }

void CoUninitialize() {}

size_t strlen(const char* text) { return text == nullptr ? 0 : std::strlen(text); }

intptr_t CallWindowProcA(void* procedure, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
  if (procedure == nullptr) return 0;
  using Procedure = intptr_t (*)(intptr_t, intptr_t, intptr_t, intptr_t);
  return reinterpret_cast<Procedure>(procedure)(a, b, c, d);
}

}  // namespace vlmr::platform::win
