// One skinned control of the toolkit: its kind, place in the control tree,
// rectangle and property values. Property values and the rectangle may be
// read and written from any thread (each control guards them with its own
// lock and asks its surface for a redraw); the tree, the pointer state and
// event raising belong to the UI thread.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "skin/control_kind.h"
#include "skin/property_data.h"

namespace vlmr::skin {

// What a control draws on. RequestRedraw is called from any thread and must
// not block.
class Surface {
 public:
  virtual ~Surface() = default;
  virtual void RequestRedraw() = 0;
};

// Receives the toolkit's events: (user data, code, four arguments); its answer
// goes back to the toolkit.
using EventSink = int32_t (*)(void* userData, int32_t code, int32_t a, int32_t b, int32_t c,
                              int32_t d);

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  bool operator==(const Rect&) const = default;
};

struct ControlPlacement {
  Surface* surface = nullptr;
  class Control* parent = nullptr;  // null: a direct child of the window
  uint32_t id = 0;
  Rect rect;          // relative to the parent's area
  int zOrder = 0;     // among siblings, lower is on top
};

class Control {
 public:
  Control(PropertySet properties, const ControlPlacement& placement, EventSink sink,
          void* userData);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  ~Control();

  Kind kind() const { return kind_; }
  int zOrder() const { return zOrder_; }
  Control* parent() const { return parent_; }
  // Children, topmost first.
  const std::vector<Control*>& children() const { return children_; }

  // ---- any thread ----
  PropertySet Properties() const;
  int32_t Number(int own) const;
  std::string BytesCopy(int own) const;
  bool SetNumber(int own, int32_t value);
  bool SetBytes(int own, std::string_view bytes);
  Rect rect() const;
  void SetRect(const Rect& rect);
  // The host window's own visibility and enabled state (common properties).
  bool HostShown() const;
  bool HostEnabled() const;
  void SetHostShown(bool shown);
  void SetHostEnabled(bool enabled);
  // Neither this control nor an ancestor is disabled.
  bool EnabledInTree() const;
  void RequestRedraw() const;

  // ---- UI thread ----
  // Calls the event sink; returns its answer.
  int32_t Raise(int32_t code, int32_t a = 0, int32_t b = 0, int32_t c = 0, int32_t d = 0);
  bool hovered() const { return hovered_; }
  bool pressed() const { return pressed_; }
  void SetPointerState(bool hovered, bool pressed);

 private:
  void AddChild(Control* child);
  void RemoveChild(Control* child);

  const Kind kind_;
  const int zOrder_;
  Surface* const surface_;
  Control* parent_;  // cleared when the parent goes first
  const EventSink sink_;
  void* const userData_;
  std::vector<Control*> children_;

  mutable std::mutex mutex_;
  PropertySet properties_;
  Rect rect_;
  bool hostShown_ = true;
  bool hostEnabled_ = true;

  bool hovered_ = false;
  bool pressed_ = false;
};

}  // namespace vlmr::skin
