#include "skin/window_catalogue.h"

#include <algorithm>

namespace vlmr::skin {

void WindowCatalogue::Register(WindowDescription description) {
  std::lock_guard lock(mutex_);
  uint32_t id = description.id;
  descriptions_[id] = std::make_shared<const WindowDescription>(std::move(description));
}

std::shared_ptr<const WindowDescription> WindowCatalogue::Description(uint32_t windowId) {
  std::lock_guard lock(mutex_);
  auto it = descriptions_.find(windowId);
  return it == descriptions_.end() ? nullptr : it->second;
}

void WindowCatalogue::MarkLoaded(uint32_t windowId) {
  std::lock_guard lock(mutex_);
  everLoaded_.insert(windowId);
}

bool WindowCatalogue::EverLoaded(uint32_t windowId) {
  std::lock_guard lock(mutex_);
  return everLoaded_.count(windowId) != 0;
}

bool WindowCatalogue::HasControl(uint32_t windowId, uint32_t controlId) {
  auto description = Description(windowId);
  if (!description) return false;
  const auto& controls = description->controls;
  return std::any_of(controls.begin(), controls.end(),
                     [&](const auto& c) { return c.id == controlId; });
}

std::string WindowCatalogue::WindowName(uint32_t windowId) {
  auto description = Description(windowId);
  return description ? description->name : std::string();
}

std::string WindowCatalogue::ControlName(uint32_t windowId, uint32_t controlId) {
  auto description = Description(windowId);
  if (!description) return {};
  for (const auto& control : description->controls) {
    if (control.id == controlId) return control.name;
  }
  return {};
}

}  // namespace vlmr::skin
