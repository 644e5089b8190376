#include "component/module/text_file_commands.h"

#include <optional>
#include <string>
#include <string_view>

#include "component/module/command_arguments.h"
#include "component/module/host_heap.h"
#include "component/module/text_encoding.h"
#include "platform/file_install.h"
#include "platform/file_system.h"

namespace vlmr::component {
namespace {

// Texts are int32-counted blocks; a larger file is not a text file to read
// whole, and is treated as unreadable.
constexpr int64_t kLargestTextFile = 256 * 1024 * 1024;

// A file the launcher may replace: missing, or a file whose owner may write
// it (the Windows read-only attribute is honoured even for root).
bool MayReplace(std::string_view gbkPath) {
  const uint32_t attributes = platform::FileAttributes(gbkPath);
  if (attributes == platform::kInvalidFileAttributes) return true;
  return (attributes & (platform::kFileAttributeDirectory | platform::kFileAttributeReadOnly)) == 0;
}

void StoreEncodingName(void** variable, TextEncoding encoding) {
  auto** text = reinterpret_cast<char**>(variable);
  host::Free(*text);
  *text = host::NewText(EncodingName(encoding));
}

}  // namespace

void ReadStringFile(rt::RtValue* result, int32_t count, rt::RtValue* args) {
  const CommandArguments arguments(count, args);
  const std::string_view path = arguments.Text(0);
  const std::optional<std::string> bytes =
      path.empty() ? std::nullopt : platform::ReadSmallFile(path, kLargestTextFile);
  const TextEncoding encoding = bytes ? DetectEncoding(*bytes) : TextEncoding::Gbk;
  if (void** variable = arguments.Variable(1, uint32_t(rt::RtType::Text))) {
    StoreEncodingName(variable, encoding);
  }
  const std::string text = bytes ? DecodeToGbk(*bytes, encoding) : std::string();
  // A text ends at its first zero byte: a file holding one would come back
  // cut short, and written back it would lose its tail, so it reads as empty.
  const bool wholeText = text.find('\0') == std::string::npos;
  *result = rt::RtValue::Text(wholeText ? host::NewText(text) : nullptr);
}

void WriteStringFile(rt::RtValue* result, int32_t count, rt::RtValue* args) {
  const CommandArguments arguments(count, args);
  const std::string_view name = arguments.Text(2);
  const std::optional<TextEncoding> encoding =
      name.empty() ? std::optional(TextEncoding::Gbk) : EncodingFromName(name);
  const std::string_view path = arguments.Text(0);
  const bool written =
      encoding && !path.empty() && MayReplace(path) &&
      platform::WriteFileAtomically(path, EncodeFromGbk(arguments.Text(1), *encoding));
  *result = rt::RtValue::Bool(written);
}

}  // namespace vlmr::component
