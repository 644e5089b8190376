// The tagged value record that carries every argument and result across the
// runtime call frame, and the signature of a command routine.
#pragma once

#include <cstdint>
#include <cstring>

namespace vlmr::rt {

// Type tags of word 2. A tag with kArrayFlag set denotes an array of the base
// type whose payload points at an array block.
enum class RtType : uint32_t {
  Omitted = 0,
  Byte = 0x80000101,
  Short = 0x80000201,
  Int = 0x80000301,
  Int64 = 0x80000401,
  Float = 0x80000501,
  Double = 0x80000601,
  Bool = 0x80000002,
  DateTime = 0x80000003,
  Text = 0x80000004,
  ByteArray = 0x80000005,
  Routine = 0x80000006,
  WindowRef = 0x00010001,
};
inline constexpr uint32_t kArrayFlag = 0x20000000;

// Unit id of a window inside its own control list; word 1 of a window reference.
inline constexpr uint32_t kWindowUnitId = 0x06010000;

#pragma pack(push, 4)
// 12 bytes: a 64-bit payload in words 0 and 1 (low word first) and the tag in
// word 2. A pointer fills the whole payload on a 64-bit host.
struct RtValue {
  uint64_t payload = 0;
  uint32_t type = 0;

  uint32_t Low() const { return static_cast<uint32_t>(payload); }
  uint32_t High() const { return static_cast<uint32_t>(payload >> 32); }
  RtType Type() const { return static_cast<RtType>(type); }
  bool IsOmitted() const { return type == 0; }
  bool IsArray() const { return (type & kArrayFlag) != 0; }

  int32_t AsInt() const { return static_cast<int32_t>(Low()); }
  int64_t AsInt64() const { return static_cast<int64_t>(payload); }
  bool AsBool() const { return Low() != 0; }
  double AsDouble() const {
    double d;
    std::memcpy(&d, &payload, sizeof d);
    return d;
  }
  float AsFloat() const {
    float f;
    uint32_t w = Low();
    std::memcpy(&f, &w, sizeof f);
    return f;
  }
  template <typename T>
  T* AsPointer() const {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(payload));
  }

  static RtValue Make(RtType t, uint64_t payload) {
    RtValue v;
    v.payload = payload;
    v.type = static_cast<uint32_t>(t);
    return v;
  }
  static RtValue Int(int32_t i) { return Make(RtType::Int, static_cast<uint32_t>(i)); }
  static RtValue Int64(int64_t i) { return Make(RtType::Int64, static_cast<uint64_t>(i)); }
  static RtValue Bool(bool b) { return Make(RtType::Bool, b ? 1 : 0); }
  static RtValue Double(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return Make(RtType::Double, bits);
  }
  static RtValue Text(const char* text) {
    return Make(RtType::Text, reinterpret_cast<uintptr_t>(text));
  }
  static RtValue Bytes(const void* byteArray) {
    return Make(RtType::ByteArray, reinterpret_cast<uintptr_t>(byteArray));
  }
  static RtValue Routine(void (*routine)()) {
    return Make(RtType::Routine, reinterpret_cast<uintptr_t>(routine));
  }
  static RtValue Window(uint32_t windowId) {
    return Make(RtType::WindowRef, (uint64_t{kWindowUnitId} << 32) | windowId);
  }
  static RtValue Omitted() { return RtValue{}; }
};
#pragma pack(pop)
static_assert(sizeof(RtValue) == 12, "RtValue must stay a 12-byte record");

// A command routine: writes its result (if any) into *result, which the frame
// has zeroed, and reads `count` argument records starting at args[0].
using CommandFn = void (*)(RtValue* result, int32_t count, RtValue* args);

}  // namespace vlmr::rt
