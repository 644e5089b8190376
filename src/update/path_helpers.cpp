#include "update/path_helpers.h"

#include <cstring>
#include <string>

#include "platform/file_system.h"
#include "platform/win_api.h"
#include "runtime/commands.h"
#include "runtime/declared_functions.h"
#include "runtime/text_code_page.h"

namespace vlmr::update {
namespace {

constexpr uint32_t kNoConversionFlags = 0;
constexpr int kUpToNul = -1;
constexpr int32_t kPathIsDirectory = 16;
constexpr char16_t kBackslash = u'\\';
// Three characters and the terminator: anything shorter is at most a drive.
constexpr int32_t kShortestTreeBytes = 8;

// The code units of a wide path, null for the empty one.
const char16_t* Units(const void* widePath) {
  if (rt::ByteArrayLength(widePath) == 0) return nullptr;
  return reinterpret_cast<const char16_t*>(rt::ByteArrayData(widePath));
}

bool IsWideDirectory(const void* widePath) {
  const char16_t* units = Units(widePath);
  return units != nullptr &&
         rt::call_declared<int32_t>(rt::kDeclPathIsDirectoryW, units) == kPathIsDirectory;
}

void CreateDirectoryPrefix(const void* buffer) {
  rt::call_declared<int32_t>(rt::kDeclCreateDirectoryW, static_cast<const char16_t*>(buffer),
                             static_cast<const void*>(nullptr));
}

}  // namespace

rt::Bytes ToWideText(const char* text, int32_t codePage) {
  const std::string terminated = std::string(rt::TextView(text)) + '\0';
  if (rt::call_declared<size_t>(rt::kDeclStrlen, terminated.c_str()) == 0) return {};
  const auto cp = static_cast<uint32_t>(codePage);
  const int units = rt::call_declared<int>(rt::kDeclMultiByteToWideChar, cp, kNoConversionFlags,
                                           terminated.c_str(), kUpToNul,
                                           static_cast<char16_t*>(nullptr), 0);
  if (units <= 0) return {};
  uint8_t* wide = rt::NewByteArray(nullptr, 2 * static_cast<int64_t>(units));
  rt::call_declared<int>(rt::kDeclMultiByteToWideChar, cp, kNoConversionFlags, terminated.c_str(),
                         kUpToNul, reinterpret_cast<char16_t*>(rt::ByteArrayData(wide)), units);
  return rt::Bytes(wide);
}

bool IsDirectoryByAttributes(const char* path) {
  const rt::Bytes wide = ToWideText(path, rt::TextCodePage);
  const char16_t* units = Units(wide.get());
  if (units == nullptr) return false;
  const uint32_t attributes = rt::call_declared<uint32_t>(rt::kDeclGetFileAttributesW, units);
  return attributes != platform::kInvalidFileAttributes &&
         (attributes & platform::kFileAttributeDirectory) != 0;
}

bool IsDirectory(const char* path) {
  const rt::Bytes wide = ToWideText(path, rt::TextCodePage);
  return IsWideDirectory(wide.get());
}

void CreateDirectoryTree(const void* widePath) {
  const int32_t length = rt::ByteArrayLength(widePath);
  if (length < kShortestTreeBytes) return;
  auto* buffer = static_cast<uint8_t*>(rt::call_declared<void*>(
      rt::kDeclLocalAlloc, platform::win::kLmemFixed | platform::win::kLmemZeroInit,
      static_cast<size_t>(length) + 2));
  if (buffer == nullptr) return;
  const uint8_t* units = rt::ByteArrayData(widePath);
  int32_t backslashes = 0;
  for (int32_t offset = 0; offset <= length - 2; offset += 2) {
    char16_t unit;
    std::memcpy(&unit, units + offset, sizeof unit);
    if (unit == 0) {
      CreateDirectoryPrefix(buffer);
      break;
    }
    // The first backslash follows a drive ("C:") or the root: nothing to make.
    if (unit == kBackslash) {
      if (backslashes > 0) CreateDirectoryPrefix(buffer);
      ++backslashes;
    }
    std::memcpy(buffer + offset, &unit, sizeof unit);
  }
  rt::call_declared<void*>(rt::kDeclLocalFree, static_cast<void*>(buffer));
}

bool EnsureDirectory(const char* path) {
  const rt::Bytes wide = ToWideText(path, rt::TextCodePage);
  CreateDirectoryTree(wide.get());
  return IsWideDirectory(wide.get());
}

rt::Text DirectoryOfPath(const char* path) {
  if (IsDirectoryByAttributes(path)) return rt::Text(rt::NewText(rt::TextView(path)));
  const int32_t backslash = rt::cmd::FindTextFromEnd(path, "\\", std::nullopt, false);
  if (backslash < 0) return {};
  return rt::cmd::LeftText(path, backslash);
}

}  // namespace vlmr::update
