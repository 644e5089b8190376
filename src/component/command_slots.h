// The component's command slots and the launcher's 987 entry points bound to
// them. Entry point k calls whatever slot k holds with its own arguments, so
// the launcher logic can name a command before the module is loaded; loading
// fills the slots from the module's command table.
#pragma once

#include <cstdint>

#include "component/module_info.h"

namespace vlmr::component {

// Copies the module's 987 command addresses into the slots.
void BindCommandSlots(const rt::CommandFn* commands);

// The entry point of command `number` (0-986). Until the slots are bound it
// leaves the result zero and says on standard error that the component is not
// loaded.
rt::CommandFn CommandEntry(int32_t number);

}  // namespace vlmr::component
