// One control of the toolkit DLL: the control itself, the scene it is drawn
// in, and its window inside the host window, which shows the scene's pixels
// under it and turns the mouse into the scene's pointer events.
#pragma once

#include <windows.h>

#include <span>

#include "skin/control.h"
#include "skin/toolkit_dll/scene.h"

namespace vlmr::skin::toolkit {

class SkinnedControl {
 public:
  // Null when the window cannot be made. UI thread.
  static SkinnedControl* Create(PropertySet properties, HWND host, uint32_t id, Rect rect,
                                EventSink sink, void* userData);
  SkinnedControl(const SkinnedControl&) = delete;
  SkinnedControl& operator=(const SkinnedControl&) = delete;
  ~SkinnedControl();  // UI thread

  Control& control() { return control_; }
  bool HasWindow() const { return IsWindow(window_) != FALSE; }
  // Any thread: moves the control and sizes its window without waiting.
  void SetRect(const Rect& rect);

 private:
  SkinnedControl(PropertySet properties, Scene& scene, const ControlPlacement& placement,
                 EventSink sink, void* userData);
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  Scene& scene_;
  Control control_;
  HWND window_ = nullptr;
  bool trackingLeave_ = false;
  bool releasing_ = false;  // the capture is being let go at a release
};

}  // namespace vlmr::skin::toolkit
