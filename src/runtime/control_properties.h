// Typed access to control properties through the call frame.
#pragma once

#include <cstdint>

#include "runtime/rt_blocks.h"

namespace vlmr::rt {

void SetControlText(uint32_t windowId, uint32_t controlId, int32_t slot, const char* gbkText);
void SetControlInt(uint32_t windowId, uint32_t controlId, int32_t slot, int32_t value);
void SetControlBool(uint32_t windowId, uint32_t controlId, int32_t slot, bool value);
int32_t GetControlInt(uint32_t windowId, uint32_t controlId, int32_t slot);
bool GetControlBool(uint32_t windowId, uint32_t controlId, int32_t slot);
Text GetControlText(uint32_t windowId, uint32_t controlId, int32_t slot);

}  // namespace vlmr::rt
