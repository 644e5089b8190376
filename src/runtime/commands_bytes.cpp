// Byte-array commands: to byte array, left part of byte array, blank byte
// array, byte array from memory, byte-array length.
#include <cstring>

#include "runtime/command_routines.h"
#include "runtime/commands_args.h"
#include "runtime/rt_blocks.h"

namespace vlmr::rt::routines {
namespace {

// Bytes of a number's payload as the value is stored (little-endian).
size_t PayloadWidth(RtType t) {
  switch (t) {
    case RtType::Byte: return 1;
    case RtType::Short: return 2;
    case RtType::Int: case RtType::Float: case RtType::Bool: return 4;
    case RtType::Int64: case RtType::Double: case RtType::DateTime: return 8;
    default: return 0;
  }
}

}  // namespace

void ToByteArray(RtValue* result, int32_t count, RtValue* args) {
  const RtValue v = args::At(count, args, 0);
  if (v.Type() == RtType::Text) return result::ByteArray(result, args::Text(count, args, 0));
  if (v.Type() == RtType::ByteArray) {
    return result::ByteArray(result, args::ByteArray(count, args, 0));
  }
  char bytes[8];
  std::memcpy(bytes, &v.payload, sizeof bytes);
  result::ByteArray(result, std::string_view(bytes, PayloadWidth(v.Type())));
}

void LeftPartOfByteArray(RtValue* result, int32_t count, RtValue* args) {
  const std::string_view bytes = args::ByteArray(count, args, 0);
  const int32_t n = args::Int(count, args, 1);
  if (n <= 0) return result::ByteArray(result, {});
  result::ByteArray(result, bytes.substr(0, static_cast<size_t>(n)));
}

void BlankByteArray(RtValue* result, int32_t count, RtValue* args) {
  const int32_t n = args::Int(count, args, 0);
  if (n <= 0 || n > args::kLargestByteArray) return result::ByteArray(result, {});
  result::OwnedByteArray(result, NewByteArray(nullptr, n));
}

void ByteArrayFromMemory(RtValue* result, int32_t count, RtValue* args) {
  const RtValue address = args::At(count, args, 0);
  const int32_t n = args::Int(count, args, 1);
  const void* memory = address.AsPointer<const void>();
  if (memory == nullptr || n <= 0 || n > args::kLargestByteArray) {
    return result::ByteArray(result, {});
  }
  result::OwnedByteArray(result, NewByteArray(memory, n));
}

void ByteArrayLength(RtValue* result, int32_t count, RtValue* args) {
  result::Int(result, static_cast<int32_t>(args::ByteArray(count, args, 0).size()));
}

}  // namespace vlmr::rt::routines
