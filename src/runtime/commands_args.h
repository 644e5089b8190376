// Reading argument records and writing result records inside the command
// routines. Shared by the commands_*.cpp files only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "runtime/rt_value.h"

namespace vlmr::rt::args {

// The largest byte array a command makes out of a count alone (blank byte
// array, byte array from memory); larger requests give the empty array rather
// than a giant allocation.
inline constexpr int32_t kLargestByteArray = 256 * 1024 * 1024;

// Record i (0-based), or an omitted record when the caller passed fewer.
inline RtValue At(int32_t count, const RtValue* args, int32_t i) {
  return (args != nullptr && i >= 0 && i < count) ? args[i] : RtValue::Omitted();
}
inline bool Omitted(int32_t count, const RtValue* args, int32_t i) {
  return At(count, args, i).IsOmitted();
}

// A text argument as a view (null, omitted or a non-text record: empty).
std::string_view Text(int32_t count, const RtValue* args, int32_t i);
// A byte-array argument's bytes (null, omitted or another tag: empty).
std::string_view ByteArray(int32_t count, const RtValue* args, int32_t i);
// An int argument, or `fallback` when omitted. Other tags are read as the
// "to number" command reads them and truncated toward zero.
int32_t Int(int32_t count, const RtValue* args, int32_t i, int32_t fallback = 0);
bool Bool(int32_t count, const RtValue* args, int32_t i, bool fallback = false);
double Double(int32_t count, const RtValue* args, int32_t i, double fallback = 0.0);

// Any value as the "to text" command renders it (GBK bytes).
std::string ValueToText(const RtValue& value);
// Any value as the "to number" command reads it.
double ValueToNumber(const RtValue& value);

// Bytes of the character starting at byte i: 2 for a GBK lead byte (0x81 to
// 0xFE) that has a byte after it, else 1. Text searches step by these units.
inline size_t GbkUnitLength(std::string_view s, size_t i) {
  return (platform::IsGbkLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

}  // namespace vlmr::rt::args

namespace vlmr::rt::result {

inline void Int(RtValue* r, int32_t v) { *r = RtValue::Int(v); }
inline void Bool(RtValue* r, bool v) { *r = RtValue::Bool(v); }
inline void Double(RtValue* r, double v) { *r = RtValue::Double(v); }
// A new heap text (null for empty bytes).
void Text(RtValue* r, std::string_view bytes);
// A new heap byte array (null for no bytes).
void ByteArray(RtValue* r, std::string_view bytes);
// Takes ownership of an already built block.
inline void OwnedByteArray(RtValue* r, void* block) { *r = RtValue::Bytes(block); }

}  // namespace vlmr::rt::result
