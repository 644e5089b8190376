// Turns the mouse over a window into the toolkit's pointer states and clicks:
// the control under the pointer is hovered, a left press arms it, and the
// release over the same control, while it is still enabled, clicks it. A
// choice box toggles its Checked state before its Click is raised. UI thread.
#pragma once

#include <vector>

#include "skin/control.h"

namespace vlmr::skin {

// The topmost visible control at window coordinates (x, y); children lie over
// their parent, earlier siblings over later ones. Null when none.
Control* HitTest(const std::vector<Control*>& roots, int x, int y);

class PointerInput {
 public:
  void Move(const std::vector<Control*>& roots, int x, int y);
  void Press(const std::vector<Control*>& roots, int x, int y);
  // Raises Click as its very last step: the handler may destroy every control.
  void Release(const std::vector<Control*>& roots, int x, int y);
  void Leave();
  // Abandons a press (the pointer was taken elsewhere): no release completes it.
  void CancelPress();
  // Lets go of a control that is being destroyed.
  void Forget(const Control* control);

 private:
  Control* hovered_ = nullptr;
  Control* pressed_ = nullptr;
};

}  // namespace vlmr::skin
