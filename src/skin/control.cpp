#include "skin/control.h"

#include <algorithm>

namespace vlmr::skin {

Control::Control(PropertySet properties, const ControlPlacement& placement, EventSink sink,
                 void* userData)
    : kind_(properties.kind()),
      zOrder_(placement.zOrder),
      surface_(placement.surface),
      parent_(placement.parent),
      sink_(sink),
      userData_(userData),
      properties_(std::move(properties)),
      rect_(placement.rect) {
  if (parent_) parent_->AddChild(this);
}

Control::~Control() {
  if (parent_) parent_->RemoveChild(this);
  for (Control* child : children_) child->parent_ = nullptr;
}

void Control::AddChild(Control* child) {
  auto at = std::upper_bound(children_.begin(), children_.end(), child,
                             [](Control* a, Control* b) { return a->zOrder_ < b->zOrder_; });
  children_.insert(at, child);
}

void Control::RemoveChild(Control* child) { std::erase(children_, child); }

PropertySet Control::Properties() const {
  std::lock_guard lock(mutex_);
  return properties_;
}

int32_t Control::Number(int own) const {
  std::lock_guard lock(mutex_);
  return properties_.Number(own);
}

std::string Control::BytesCopy(int own) const {
  std::lock_guard lock(mutex_);
  return std::string(properties_.Bytes(own));
}

bool Control::SetNumber(int own, int32_t value) {
  {
    std::lock_guard lock(mutex_);
    if (!properties_.SetNumber(own, value)) return false;
  }
  RequestRedraw();
  return true;
}

bool Control::SetBytes(int own, std::string_view bytes) {
  {
    std::lock_guard lock(mutex_);
    if (!properties_.SetBytes(own, bytes)) return false;
  }
  RequestRedraw();
  return true;
}

Rect Control::rect() const {
  std::lock_guard lock(mutex_);
  return rect_;
}

void Control::SetRect(const Rect& rect) {
  {
    std::lock_guard lock(mutex_);
    rect_ = rect;
  }
  RequestRedraw();
}

bool Control::HostShown() const {
  std::lock_guard lock(mutex_);
  return hostShown_;
}

bool Control::HostEnabled() const {
  std::lock_guard lock(mutex_);
  return hostEnabled_;
}

void Control::SetHostShown(bool shown) {
  {
    std::lock_guard lock(mutex_);
    hostShown_ = shown;
  }
  RequestRedraw();
}

void Control::SetHostEnabled(bool enabled) {
  {
    std::lock_guard lock(mutex_);
    hostEnabled_ = enabled;
  }
  RequestRedraw();
}

bool Control::EnabledInTree() const {
  for (const Control* c = this; c; c = c->parent_) {
    std::lock_guard lock(c->mutex_);
    if (!c->hostEnabled_ || c->properties_.Number(own::kDisabled) != 0) return false;
  }
  return true;
}

void Control::RequestRedraw() const {
  if (surface_) surface_->RequestRedraw();
}

int32_t Control::Raise(int32_t code, int32_t a, int32_t b, int32_t c, int32_t d) {
  return sink_ ? sink_(userData_, code, a, b, c, d) : 0;
}

void Control::SetPointerState(bool hovered, bool pressed) {
  if (hovered == hovered_ && pressed == pressed_) return;
  hovered_ = hovered;
  pressed_ = pressed;
  RequestRedraw();
  Raise(kEventStateNotice, hovered ? 1 : 0, pressed ? 1 : 0);
}

}  // namespace vlmr::skin
