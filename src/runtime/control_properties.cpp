#include "runtime/control_properties.h"

#include "runtime/launcher_ids.h"
#include "runtime/runtime_frame.h"

namespace vlmr::rt {

void SetControlText(uint32_t windowId, uint32_t controlId, int32_t slot, const char* gbkText) {
  auto address = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(gbkText));
  set_property(windowId, controlId, slot, ids::kPlainProperty, static_cast<uint32_t>(address),
               static_cast<uint32_t>(address >> 32));
}

void SetControlInt(uint32_t windowId, uint32_t controlId, int32_t slot, int32_t value) {
  set_property(windowId, controlId, slot, ids::kPlainProperty, static_cast<uint32_t>(value), 0);
}

void SetControlBool(uint32_t windowId, uint32_t controlId, int32_t slot, bool value) {
  set_property(windowId, controlId, slot, ids::kPlainProperty, value ? 1 : 0, 0);
}

int32_t GetControlInt(uint32_t windowId, uint32_t controlId, int32_t slot) {
  return static_cast<int32_t>(get_property(windowId, controlId, slot, ids::kPlainProperty));
}

bool GetControlBool(uint32_t windowId, uint32_t controlId, int32_t slot) {
  return static_cast<uint32_t>(get_property(windowId, controlId, slot, ids::kPlainProperty)) != 0;
}

Text GetControlText(uint32_t windowId, uint32_t controlId, int32_t slot) {
  auto value = get_property(windowId, controlId, slot, ids::kPlainProperty);
  return Text(reinterpret_cast<char*>(static_cast<uintptr_t>(value)));
}

}  // namespace vlmr::rt
