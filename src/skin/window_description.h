// The form data of a window as the window system loads it: the window's
// title and size, its skinned controls in form order with their stored
// property data, and the dispatch that runs the event handlers.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skin/control_kind.h"

namespace vlmr::skin {

struct ControlDescription {
  std::string name;  // GBK, as the window description names it
  uint32_t id = 0;
  Kind kind = Kind::WindowEx;
  int left = 0, top = 0, width = 0, height = 0;  // relative to the parent
  uint32_t parentId = 0;                        // 0: the window itself
  std::vector<uint8_t> propertyData;            // the toolkit's stored property data
};

using EventArgs = std::array<int32_t, 4>;
// Runs the handler of event `event` of a control (the window's own events
// come with the window's unit id, rt::kWindowUnitId) and answers its result;
// 0 when there is no handler.
using EventDispatch = std::function<int32_t(uint32_t controlId, int32_t event, const EventArgs&)>;

struct WindowDescription {
  uint32_t id = 0;
  std::string name;   // GBK
  std::string title;  // GBK
  int width = 0, height = 0;
  // Form order; an earlier control lies over a later sibling.
  std::vector<ControlDescription> controls;
  EventDispatch dispatch;
};

// The window's creation event: event 0 of its own unit, raised once after the
// window and its controls exist and before the window is shown.
inline constexpr int32_t kWindowCreatedEvent = 0;

}  // namespace vlmr::skin
