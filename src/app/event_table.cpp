#include "app/event_table.h"

#include <memory>

#include "runtime/rt_value.h"

namespace vlmr::app {

skin::EventDispatch DispatchFrom(EventTable table) {
  auto shared = std::make_shared<const EventTable>(std::move(table));
  return [shared](uint32_t controlId, int32_t event, const skin::EventArgs&) -> int32_t {
    if (event != 0) return 0;
    if (controlId == rt::kWindowUnitId) {
      if (shared->windowCreated) shared->windowCreated();
      return 0;
    }
    auto it = shared->clicks.find(controlId);
    if (it != shared->clicks.end() && it->second) it->second();
    return 0;
  };
}

}  // namespace vlmr::app
