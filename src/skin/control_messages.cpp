#include "skin/control_messages.h"

#include <optional>
#include <string>
#include <vector>

#include "runtime/rt_blocks.h"

namespace vlmr::skin {
namespace {

uint64_t PointerWord(const void* p) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)); }

// The type of own property `own` of the kind; nullopt for an invalid number.
std::optional<SlotType> TypeOf(Kind kind, int32_t own) {
  auto types = OwnSlotTypes(kind);
  if (own < 0 || own >= static_cast<int32_t>(types.size())) return std::nullopt;
  return types[static_cast<size_t>(own)];
}

uint64_t ReadProperty(const Control& control, int32_t own) {
  auto type = TypeOf(control.kind(), own);
  if (!type) return 0;
  if (*type == SlotType::Bool || *type == SlotType::Int) {
    return static_cast<uint32_t>(control.Number(own));
  }
  std::string bytes = control.BytesCopy(own);
  if (*type == SlotType::Text) return PointerWord(rt::NewText(bytes));
  return PointerWord(rt::NewByteArray(bytes.data(), static_cast<int64_t>(bytes.size())));
}

void WriteProperty(Control& control, int32_t own, uint64_t value) {
  auto type = TypeOf(control.kind(), own);
  if (!type) return;
  const void* pointer = reinterpret_cast<const void*>(static_cast<uintptr_t>(value));
  switch (*type) {
    case SlotType::Bool:
    case SlotType::Int:
      control.SetNumber(own, static_cast<int32_t>(static_cast<uint32_t>(value)));
      break;
    case SlotType::Text:
      control.SetBytes(own, rt::TextView(static_cast<const char*>(pointer)));
      break;
    case SlotType::Blob: {
      const uint8_t* data = rt::ByteArrayData(pointer);
      auto length = static_cast<size_t>(rt::ByteArrayLength(pointer));
      control.SetBytes(own, {reinterpret_cast<const char*>(data), length});
      break;
    }
  }
}

}  // namespace

uint64_t SendControlMessage(Control& control, uint32_t message, int32_t number, uint64_t value) {
  switch (message) {
    case kMessageSetProperty:
      WriteProperty(control, number, value);
      return 0;
    case kMessageGetProperty:
      return ReadProperty(control, number);
    case kMessageGetAllData: {
      std::vector<uint8_t> block = control.Properties().Encode();
      return PointerWord(rt::NewByteArray(block.data(), static_cast<int64_t>(block.size())));
    }
    case kMessageSetHostShown:
      control.SetHostShown(value != 0);
      return 0;
    case kMessageSetHostEnabled:
      control.SetHostEnabled(value != 0);
      return 0;
    default:
      return 0;
  }
}

}  // namespace vlmr::skin
