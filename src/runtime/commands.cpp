// The typed face: builds argument records and calls the command routines
// through the frame's command call.
#include "runtime/commands.h"

#include <vector>

#include "runtime/command_routines.h"
#include "runtime/runtime_frame.h"

namespace vlmr::rt::cmd {
namespace {

// The library number carried by calls of the thread library's command; the
// frame does not use it.
constexpr int32_t kThreadLibrary = 1;

template <typename... Records>
RtValue Core(CommandFn command, Records... records) {
  if constexpr (sizeof...(Records) == 0) {
    return call_core_command(command, 0, nullptr);
  } else {
    RtValue list[] = {records...};
    return call_core_command(command, static_cast<int32_t>(sizeof...(Records)), list);
  }
}

RtValue CoreList(CommandFn command, std::vector<RtValue> list) {
  return call_core_command(command, static_cast<int32_t>(list.size()), list.data());
}

RtValue Optional(std::optional<int32_t> v) { return v ? RtValue::Int(*v) : RtValue::Omitted(); }
RtValue Optional(std::optional<bool> v) { return v ? RtValue::Bool(*v) : RtValue::Omitted(); }
RtValue OptionalText(const char* text) {
  return text ? RtValue::Text(text) : RtValue::Omitted();
}

Text TakeText(const RtValue& r) { return Text(r.AsPointer<char>()); }
Bytes TakeBytes(const RtValue& r) { return Bytes(r.AsPointer<uint8_t>()); }

}  // namespace

int32_t BitAnd(std::initializer_list<int32_t> values) {
  std::vector<RtValue> list;
  for (int32_t v : values) list.push_back(RtValue::Int(v));
  return CoreList(&routines::BitwiseAnd, std::move(list)).AsInt();
}

double RoundToDecimals(double value, std::optional<int32_t> decimals) {
  return Core(&routines::RoundToDecimals, RtValue::Double(value), Optional(decimals)).AsDouble();
}

double ToNumber(const char* text) { return ToNumber(RtValue::Text(text)); }

double ToNumber(const RtValue& value) { return Core(&routines::ToNumber, value).AsDouble(); }

int32_t TextLength(const char* text) {
  return Core(&routines::TextLength, RtValue::Text(TextOrEmpty(text))).AsInt();
}

Text LeftText(const char* text, int32_t n) {
  return TakeText(Core(&routines::LeftPartOfText, RtValue::Text(text), RtValue::Int(n)));
}

Text RightText(const char* text, int32_t n) {
  return TakeText(Core(&routines::RightPartOfText, RtValue::Text(text), RtValue::Int(n)));
}

int32_t FindTextFromEnd(const char* text, const char* sought, std::optional<int32_t> start,
                        std::optional<bool> ignoreCase) {
  return Core(&routines::FindTextFromEnd, RtValue::Text(text), RtValue::Text(sought),
              Optional(start), Optional(ignoreCase))
      .AsInt();
}

Text ToUpper(const char* text) { return TakeText(Core(&routines::ToUpperCase, RtValue::Text(text))); }

Text ToLower(const char* text) { return TakeText(Core(&routines::ToLowerCase, RtValue::Text(text))); }

TextArray SplitText(const char* text, const char* delimiter, std::optional<int32_t> maxCount) {
  const RtValue r =
      Core(&routines::SplitText, RtValue::Text(text), OptionalText(delimiter), Optional(maxCount));
  return TextArray(r.AsPointer<void>());
}

Text ToText(int32_t value) { return TakeText(Core(&routines::ToText, RtValue::Int(value))); }

Text ToText(double value) { return TakeText(Core(&routines::ToText, RtValue::Double(value))); }

Text ToTextFromBytes(const void* byteArray) {
  return TakeText(Core(&routines::ToText, RtValue::Bytes(byteArray)));
}

Text ToHexText(int32_t value) { return TakeText(Core(&routines::ToHexText, RtValue::Int(value))); }

Bytes ToByteArray(const char* text) {
  return TakeBytes(Core(&routines::ToByteArray, RtValue::Text(text)));
}

Bytes LeftBytes(const void* byteArray, int32_t n) {
  return TakeBytes(Core(&routines::LeftPartOfByteArray, RtValue::Bytes(byteArray), RtValue::Int(n)));
}

Bytes BlankBytes(int32_t n) { return TakeBytes(Core(&routines::BlankByteArray, RtValue::Int(n))); }

Bytes BytesFromMemory(const void* address, int32_t length) {
  const RtValue addressRecord = RtValue::Make(RtType::Int64, reinterpret_cast<uintptr_t>(address));
  return TakeBytes(Core(&routines::ByteArrayFromMemory, addressRecord, RtValue::Int(length)));
}

int32_t ByteArrayLength(const void* byteArray) {
  return Core(&routines::ByteArrayLength, RtValue::Bytes(byteArray)).AsInt();
}

bool CopyFile(const char* source, const char* destination) {
  return Core(&routines::CopyFile, RtValue::Text(source), RtValue::Text(destination)).AsBool();
}

bool FileExists(const char* path) { return Core(&routines::FileExists, RtValue::Text(path)).AsBool(); }

int32_t FileSize(const char* path) { return Core(&routines::FileSize, RtValue::Text(path)).AsInt(); }

int32_t OpenFile(const char* path, std::optional<int32_t> mode, std::optional<int32_t> sharing) {
  return Core(&routines::OpenFile, RtValue::Text(path), Optional(mode), Optional(sharing)).AsInt();
}

void CloseFile(int32_t file) { Core(&routines::CloseFile, RtValue::Int(file)); }

bool SeekToEnd(int32_t file) { return Core(&routines::MoveToEndOfFile, RtValue::Int(file)).AsBool(); }

Bytes ReadFromFile(int32_t file, int32_t n) {
  return TakeBytes(Core(&routines::ReadFromFile, RtValue::Int(file), RtValue::Int(n)));
}

bool WriteToFile(int32_t file, std::initializer_list<const void*> byteArrays) {
  std::vector<RtValue> list{RtValue::Int(file)};
  for (const void* array : byteArrays) list.push_back(RtValue::Bytes(array));
  return CoreList(&routines::WriteToFile, std::move(list)).AsBool();
}

bool AtEndOfFile(int32_t file, std::optional<bool> textMode) {
  return Core(&routines::EndOfFile, RtValue::Int(file), Optional(textMode)).AsBool();
}

Text ReadIniItem(const char* file, const char* section, const char* key, const char* defaultText) {
  return TakeText(Core(&routines::ReadIniItem, RtValue::Text(file), RtValue::Text(section),
                       RtValue::Text(key), OptionalText(defaultText)));
}

bool WriteIniItem(const char* file, const char* section, const char* key, const char* value) {
  return Core(&routines::WriteIniItem, RtValue::Text(file), RtValue::Text(section),
              OptionalText(key), OptionalText(value))
      .AsBool();
}

bool RunProgram(const char* commandLine, std::optional<bool> wait, std::optional<int32_t> showMode) {
  return Core(&routines::RunProgram, RtValue::Text(commandLine), Optional(wait), Optional(showMode))
      .AsBool();
}

Text ProgramDirectory() { return TakeText(Core(&routines::ProgramDirectory)); }

int32_t MessageBox(const char* text, std::optional<int32_t> flags, const char* caption) {
  return Core(&routines::MessageBox, RtValue::Text(text), Optional(flags), OptionalText(caption))
      .AsInt();
}

uint32_t TickCount() { return Core(&routines::TickCount).Low(); }

void ProcessPendingMessages() { Core(&routines::ProcessPendingMessages); }

int32_t SendMessage(uint32_t windowId, uint32_t message, int32_t wparam, int32_t lparam) {
  return Core(&routines::SendMessage, RtValue::Window(windowId),
              RtValue::Int(static_cast<int32_t>(message)), RtValue::Int(wparam),
              RtValue::Int(lparam))
      .AsInt();
}

bool StartThread(void (*routine)()) {
  RtValue record = RtValue::Routine(routine);
  return call_library_command(kThreadLibrary, &routines::StartThread, 1, &record).AsBool();
}

bool StartThread(void (*routine)(int32_t), int32_t parameter) {
  RtValue records[] = {RtValue::Routine(reinterpret_cast<void (*)()>(routine)),
                       RtValue::Int(parameter)};
  return call_library_command(kThreadLibrary, &routines::StartThread, 2, records).AsBool();
}

}  // namespace vlmr::rt::cmd
