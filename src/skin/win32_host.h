// The window-system side of one skinned control on Windows: the host child
// window of class "Lumo.<toolkit>.<Kind>" that carries the control's id, the
// common properties (position and size, tag, visibility, enabled state,
// mouse pointer), and the toolkit control inside it. The host's window
// procedure makes the toolkit control follow the host when it moves or is
// resized, and destroys it with the host.
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "skin/control.h"
#include "skin/toolkit_entries.h"
#include "skin/window_description.h"

namespace vlmr::skin {

class Win32Host {
 public:
  // `dispatch` must outlive the host; `controlsMutex` is the window system's
  // lock that property access holds shared while it uses the toolkit control.
  Win32Host(const ControlDescription& description, const EventDispatch* dispatch,
            std::shared_mutex& controlsMutex);
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  // Creates the host window inside `parent` and the toolkit control in it
  // (UI thread); false when either cannot be made.
  bool Create(HWND parent);
  HWND window() const { return window_; }

  // Any thread, under the shared lock.
  uint64_t GetProperty(int32_t index);
  void SetProperty(int32_t index, uint64_t value);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static int32_t OnToolkitEvent(void* userData, int32_t code, int32_t a, int32_t b, int32_t c,
                                int32_t d);
  void FollowMove(const WINDOWPOS& position);
  void OnDestroyed();
  uint64_t GetCommon(int32_t index);
  void SetCommon(int32_t index, uint64_t value);

  const uint32_t id_;
  const Kind kind_;
  const std::vector<uint8_t>& propertyData_;
  const EventDispatch* const dispatch_;
  std::shared_mutex& controlsMutex_;
  const ToolkitEntries& toolkit_;

  HWND window_ = nullptr;
  void* control_ = nullptr;  // the toolkit control ("Tab_Control"); null once destroyed

  std::mutex mutex_;  // guards what follows
  Rect rect_;
  bool shown_ = true;
  bool enabled_ = true;
  std::string tag_;
  std::string mousePointer_;
};

}  // namespace vlmr::skin
