#include "skin/host_window.h"

#include "runtime/rt_blocks.h"
#include "skin/toolkit.h"
#include "skin/toolkit_events.h"

namespace vlmr::skin {
namespace {

uint64_t PointerWord(const void* p) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)); }
const void* WordPointer(uint64_t word) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(word)); }

}  // namespace

Host::Host(const ControlDescription& description, const EventDispatch* dispatch)
    : id_(description.id),
      kind_(description.kind),
      propertyData_(description.propertyData),
      dispatch_(dispatch),
      rect_{description.left, description.top, description.width, description.height} {}

Host::~Host() { Destroy(); }

bool Host::Create(Surface* surface, Control* parentControl, int zOrder) {
  ControlPlacement placement{surface, parentControl, id_, rect_, zOrder};
  control_ = CreateControl(kind_, propertyData_, placement, &Host::OnToolkitEvent, this);
  return control_ != nullptr;
}

void Host::Destroy() {
  if (!control_) return;
  ControlDestroy(control_);
  control_ = nullptr;
}

int32_t Host::OnToolkitEvent(void* userData, int32_t code, int32_t a, int32_t b, int32_t c,
                             int32_t d) {
  auto* host = static_cast<Host*>(userData);
  // The handler may close the window and so destroy this host: nothing of it
  // is touched after the dispatch.
  return ForwardToolkitEvent(*host->dispatch_, host->kind_, host->id_, code, {a, b, c, d});
}

uint64_t Host::GetProperty(int32_t index) {
  if (!control_) return 0;
  if (index >= rt::ids::kFirstOwnSlot) {
    return ControlSendMessage(control_, kMessageGetProperty, OwnNumber(index), 0);
  }
  return GetCommon(index);
}

void Host::SetProperty(int32_t index, uint64_t value) {
  if (!control_) return;
  if (index >= rt::ids::kFirstOwnSlot) {
    ControlSendMessage(control_, kMessageSetProperty, OwnNumber(index), value);
    return;
  }
  SetCommon(index, value);
}

uint64_t Host::GetCommon(int32_t index) {
  std::lock_guard lock(mutex_);
  switch (index) {
    case kCommonLeft: return static_cast<uint32_t>(rect_.x);
    case kCommonTop: return static_cast<uint32_t>(rect_.y);
    case kCommonWidth: return static_cast<uint32_t>(rect_.w);
    case kCommonHeight: return static_cast<uint32_t>(rect_.h);
    case kCommonTag: return PointerWord(rt::NewText(tag_));
    case kCommonVisible: return control_->HostShown() ? 1 : 0;
    case kCommonDisabled: return control_->HostEnabled() ? 0 : 1;
    case kCommonMousePointer:
      return PointerWord(rt::NewByteArray(mousePointer_.data(),
                                          static_cast<int64_t>(mousePointer_.size())));
    default: return 0;
  }
}

void Host::SetCommon(int32_t index, uint64_t value) {
  auto number = static_cast<int32_t>(static_cast<uint32_t>(value));
  switch (index) {
    case kCommonLeft:
    case kCommonTop:
    case kCommonWidth:
    case kCommonHeight: {
      std::lock_guard lock(mutex_);
      Rect moved = rect_;
      (index == kCommonLeft ? moved.x : index == kCommonTop ? moved.y
                                      : index == kCommonWidth ? moved.w : moved.h) = number;
      MoveTo(moved);
      break;
    }
    case kCommonTag: {
      std::lock_guard lock(mutex_);
      tag_ = rt::TextView(static_cast<const char*>(WordPointer(value)));
      break;
    }
    case kCommonVisible: control_->SetHostShown(number != 0); break;
    case kCommonDisabled: control_->SetHostEnabled(number == 0); break;
    case kCommonMousePointer: {
      std::lock_guard lock(mutex_);
      const void* bytes = WordPointer(value);
      mousePointer_.assign(reinterpret_cast<const char*>(rt::ByteArrayData(bytes)),
                           static_cast<size_t>(rt::ByteArrayLength(bytes)));
      break;
    }
    default: break;
  }
}

// The host has moved or changed size (the caller holds the lock). Unless it
// did neither, the toolkit control follows; what did not change is taken
// from the control itself. LayoutFrom stops a change that the follow itself
// causes from being forwarded again.
void Host::MoveTo(const Rect& rect) {
  bool moved = rect.x != rect_.x || rect.y != rect_.y;
  bool resized = rect.w != rect_.w || rect.h != rect_.h;
  rect_ = rect;
  if ((!moved && !resized) || layoutFrom_) return;
  layoutFrom_ = true;
  ControlSetRect(control_, moved ? rect.x : ControlGetLeft(control_),
                 moved ? rect.y : ControlGetTop(control_),
                 resized ? rect.w : ControlGetWidth(control_),
                 resized ? rect.h : ControlGetHeight(control_));
  layoutFrom_ = false;
}

}  // namespace vlmr::skin
