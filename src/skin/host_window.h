// The window-system side of one skinned control: the host that carries the
// control's id inside its window, keeps the common properties (position and
// size, tag, visibility, enabled state, mouse pointer), makes the toolkit
// control follow it when it moves or is resized, forwards the toolkit's
// events to the window's event dispatch and destroys the control with itself.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "skin/control.h"
#include "skin/window_description.h"

namespace vlmr::skin {

// Common property indices, the same for every control kind.
inline constexpr int32_t kCommonLeft = 0;
inline constexpr int32_t kCommonTop = 1;
inline constexpr int32_t kCommonWidth = 2;
inline constexpr int32_t kCommonHeight = 3;
inline constexpr int32_t kCommonTag = 4;
inline constexpr int32_t kCommonVisible = 5;
inline constexpr int32_t kCommonDisabled = 6;
inline constexpr int32_t kCommonMousePointer = 7;

class Host {
 public:
  // `dispatch` must outlive the host.
  Host(const ControlDescription& description, const EventDispatch* dispatch);
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  ~Host();

  // Creates the toolkit control; false when the toolkit refuses.
  bool Create(Surface* surface, Control* parentControl, int zOrder);
  // Destroys the toolkit control; the host answers nothing afterwards.
  void Destroy();

  Control* control() const { return control_; }

  // Any thread.
  uint64_t GetProperty(int32_t index);
  void SetProperty(int32_t index, uint64_t value);

  // The toolkit's event sink; `userData` is the host.
  static int32_t OnToolkitEvent(void* userData, int32_t code, int32_t a, int32_t b, int32_t c,
                                int32_t d);

 private:
  uint64_t GetCommon(int32_t index);
  void SetCommon(int32_t index, uint64_t value);
  void MoveTo(const Rect& rect);

  const uint32_t id_;
  const Kind kind_;
  const std::vector<uint8_t>& propertyData_;
  const EventDispatch* const dispatch_;

  Control* control_ = nullptr;  // the toolkit control ("Tab_Control")

  std::mutex mutex_;            // guards what follows
  Rect rect_;
  bool layoutFrom_ = false;     // set while the control follows a move ("LayoutFrom")
  std::string tag_;
  std::string mousePointer_;
};

}  // namespace vlmr::skin
