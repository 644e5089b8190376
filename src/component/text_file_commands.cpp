#include "component/text_file_commands.h"

#include "component/command_slots.h"
#include "component/module_info.h"
#include "runtime/runtime_frame.h"

namespace vlmr::component::cmd {

rt::Text ReadStringFile(const char* path, char** encodingVariable) {
  rt::RtValue args[2] = {
      rt::RtValue::Text(path),
      encodingVariable
          ? rt::RtValue::Make(rt::RtType::Text, reinterpret_cast<uintptr_t>(encodingVariable))
          : rt::RtValue::Omitted()};
  const rt::RtValue r = rt::call_library_command(
      kServerSuiteLibrary, CommandEntry(kReadStringFileNumber), 2, args);
  return rt::Text(r.AsPointer<char>());
}

bool WriteStringFile(const char* path, const char* content, const char* encoding) {
  rt::RtValue args[3] = {rt::RtValue::Text(path), rt::RtValue::Text(content),
                         encoding ? rt::RtValue::Text(encoding) : rt::RtValue::Omitted()};
  return rt::call_library_command(kServerSuiteLibrary, CommandEntry(kWriteStringFileNumber), 3,
                                  args)
      .AsBool();
}

}  // namespace vlmr::component::cmd
