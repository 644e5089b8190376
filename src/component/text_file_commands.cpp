#include "component/text_file_commands.h"

#include <optional>
#include <string>
#include <string_view>

#include "component/text_encoding.h"
#include "platform/native_file.h"
#include "platform/native_path.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"

namespace vlmr::component {
namespace routines {
namespace {

// Texts are int32-counted blocks; a larger file is not a text file to read
// whole, and is treated as unreadable.
constexpr int64_t kLargestTextFile = 256 * 1024 * 1024;

std::string_view TextArgument(int32_t count, const rt::RtValue* args, int32_t i) {
  if (i >= count || args[i].Type() != rt::RtType::Text) return {};
  return rt::TextView(args[i].AsPointer<const char>());
}

bool Given(int32_t count, const rt::RtValue* args, int32_t i) {
  return i < count && !args[i].IsOmitted();
}

// A file the launcher may replace: missing, or a regular file without the
// read-only attribute.
bool MayReplace(const std::string& nativePath) {
  const platform::NativeFileState state = platform::StateOfNativeFile(nativePath);
  return !state.exists || (state.regular && !state.readOnly);
}

bool ReplaceWholeFile(const std::string& nativePath, std::string_view bytes) {
  if (!MayReplace(nativePath)) return false;
  platform::AtomicReplacement replacement(nativePath);
  return replacement.IsOpen() && replacement.Write(bytes.data(), bytes.size()) &&
         replacement.Commit();
}

void StoreEncodingName(const rt::RtValue& variable, TextEncoding encoding) {
  if (variable.Type() != rt::RtType::Text) return;
  char** slot = variable.AsPointer<char*>();
  if (slot == nullptr) return;
  rt::rt_free(*slot);
  *slot = rt::NewText(EncodingName(encoding));
}

}  // namespace

void ReadStringFile(rt::RtValue* result, int32_t count, rt::RtValue* args) {
  const std::string native = platform::ToNativePath(TextArgument(count, args, 0));
  const std::optional<std::string> bytes = native.empty() ? std::nullopt : platform::ReadNativeFile(native, kLargestTextFile);
  const TextEncoding encoding = bytes ? DetectEncoding(*bytes) : TextEncoding::Gbk;
  if (Given(count, args, 1)) StoreEncodingName(args[1], encoding);
  const std::string text = bytes ? DecodeToGbk(*bytes, encoding) : std::string();
  // A text ends at its first zero byte: a file holding one would come back
  // cut short, and written back it would lose its tail, so it reads as empty.
  const bool wholeText = text.find('\0') == std::string::npos;
  *result = rt::RtValue::Text(wholeText ? rt::NewText(text) : nullptr);
}

void WriteStringFile(rt::RtValue* result, int32_t count, rt::RtValue* args) {
  const std::string_view name = TextArgument(count, args, 2);
  const std::optional<TextEncoding> encoding =
      name.empty() ? std::optional(TextEncoding::Gbk) : EncodingFromName(name);
  const std::string native = platform::ToNativePath(TextArgument(count, args, 0));
  const bool written =
      encoding && !native.empty() &&
      ReplaceWholeFile(native, EncodeFromGbk(TextArgument(count, args, 1), *encoding));
  *result = rt::RtValue::Bool(written);
}

}  // namespace routines

namespace cmd {

rt::Text ReadStringFile(const char* path, char** encodingVariable) {
  rt::RtValue args[2] = {
      rt::RtValue::Text(path),
      encodingVariable
          ? rt::RtValue::Make(rt::RtType::Text, reinterpret_cast<uintptr_t>(encodingVariable))
          : rt::RtValue::Omitted()};
  const rt::RtValue r =
      rt::call_library_command(kServerSuiteLibrary, &routines::ReadStringFile, 2, args);
  return rt::Text(r.AsPointer<char>());
}

bool WriteStringFile(const char* path, const char* content, const char* encoding) {
  rt::RtValue args[3] = {rt::RtValue::Text(path), rt::RtValue::Text(content),
                         encoding ? rt::RtValue::Text(encoding) : rt::RtValue::Omitted()};
  return rt::call_library_command(kServerSuiteLibrary, &routines::WriteStringFile, 3, args)
      .AsBool();
}

}  // namespace cmd
}  // namespace vlmr::component
