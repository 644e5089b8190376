#include "skin/pointer_input.h"

#include "skin/control_kind.h"

namespace vlmr::skin {
namespace {

Control* HitIn(const std::vector<Control*>& controls, int originX, int originY, int x, int y) {
  for (Control* control : controls) {
    if (!control->HostShown() || control->Number(own::kVisible) == 0) continue;
    Rect r = control->rect();
    Rect onWindow{originX + r.x, originY + r.y, r.w, r.h};
    if (Control* child = HitIn(control->children(), onWindow.x, onWindow.y, x, y)) return child;
    if (onWindow.Contains(x, y)) return control;
  }
  return nullptr;
}

}  // namespace

Control* HitTest(const std::vector<Control*>& roots, int x, int y) {
  return HitIn(roots, 0, 0, x, y);
}

void PointerInput::Move(const std::vector<Control*>& roots, int x, int y) {
  Control* target = HitTest(roots, x, y);
  if (target == hovered_) return;
  if (hovered_) hovered_->SetPointerState(false, hovered_ == pressed_);
  hovered_ = target;
  if (hovered_) hovered_->SetPointerState(true, hovered_ == pressed_);
}

void PointerInput::Press(const std::vector<Control*>& roots, int x, int y) {
  Move(roots, x, y);
  if (!hovered_ || !hovered_->EnabledInTree()) return;
  pressed_ = hovered_;
  pressed_->SetPointerState(true, true);
}

void PointerInput::Release(const std::vector<Control*>& roots, int x, int y) {
  Move(roots, x, y);
  Control* pressed = pressed_;
  pressed_ = nullptr;
  if (!pressed) return;
  pressed->SetPointerState(pressed == hovered_, false);
  if (pressed != hovered_ || !pressed->EnabledInTree()) return;
  if (pressed->kind() == Kind::ChoiceboxEx) {
    pressed->SetNumber(own::kChecked, pressed->Number(own::kChecked) == 0 ? 1 : 0);
  }
  pressed->Raise(kEventClick, x, y);
}

void PointerInput::Leave() {
  if (hovered_) hovered_->SetPointerState(false, false);
  hovered_ = nullptr;
  pressed_ = nullptr;
}

void PointerInput::CancelPress() {
  if (!pressed_) return;
  pressed_->SetPointerState(pressed_ == hovered_, false);
  pressed_ = nullptr;
}

void PointerInput::Forget(const Control* control) {
  if (hovered_ == control) hovered_ = nullptr;
  if (pressed_ == control) pressed_ = nullptr;
}

}  // namespace vlmr::skin
