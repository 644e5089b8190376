// INI item commands over the private-profile functions.
#include <optional>
#include <string>

#include "platform/profile.h"
#include "runtime/command_routines.h"
#include "runtime/commands_args.h"

namespace vlmr::rt::routines {
namespace {

// Leading control characters and blanks (bytes up to 0x20) are not part of a
// file name, section or key.
std::string_view SkipLeadingBlanks(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i]) <= 0x20) ++i;
  return s.substr(i);
}

// A text argument that is absent when omitted, and a string (possibly empty)
// when given.
std::optional<std::string> OptionalText(int32_t count, RtValue* args, int32_t i) {
  if (args::Omitted(count, args, i)) return std::nullopt;
  return std::string(args::Text(count, args, i));
}

const char* CStringOrNull(const std::optional<std::string>& s) {
  return s ? s->c_str() : nullptr;
}

}  // namespace

// Arguments: file; section; key; default (omitted: the empty text). When file,
// section or key is empty after skipping leading blanks the result is the
// empty text, not the default.
void ReadIniItem(RtValue* result, int32_t count, RtValue* args) {
  const std::string_view file = SkipLeadingBlanks(args::Text(count, args, 0));
  const std::string_view section = SkipLeadingBlanks(args::Text(count, args, 1));
  const std::string_view key = SkipLeadingBlanks(args::Text(count, args, 2));
  if (file.empty() || section.empty() || key.empty()) return result::Text(result, {});
  result::Text(result, platform::ReadProfileString(file, section, key,
                                                   args::Text(count, args, 3)));
}

// Arguments: file; section; key (omitted: delete the section); value
// (omitted: delete the key).
void WriteIniItem(RtValue* result, int32_t count, RtValue* args) {
  const std::string section(args::Text(count, args, 1));
  const std::optional<std::string> key = OptionalText(count, args, 2);
  const std::optional<std::string> value = OptionalText(count, args, 3);
  result::Bool(result, platform::WriteProfileString(args::Text(count, args, 0), section.c_str(),
                                                    CStringOrNull(key), CStringOrNull(value)));
}

}  // namespace vlmr::rt::routines
