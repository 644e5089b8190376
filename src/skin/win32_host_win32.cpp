#include "skin/win32_host.h"

#include <array>
#include <cstring>
#include <string>

#include "runtime/launcher_ids.h"
#include "runtime/rt_blocks.h"
#include "skin/control_messages.h"
#include "skin/host_window.h"
#include "skin/toolkit_events.h"

namespace vlmr::skin {
namespace {

constexpr DWORD kHostExtendedStyle = WS_EX_TRANSPARENT | WS_EX_TOPMOST;  // 0x28
constexpr UINT kHostClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;   // 11
const auto kHostBrush = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));  // 6

constexpr wchar_t kUnitProperty[] = L"hUnit";
constexpr wchar_t kPageProperty[] = L"PageId_F";
constexpr wchar_t kControlProperty[] = L"Tab_Control";
constexpr wchar_t kLayoutFromProperty[] = L"LayoutFrom";
constexpr wchar_t kDestroyedProperty[] = L"Tab_WM_DESTROY";

uint64_t PointerWord(const void* p) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)); }
const void* WordPointer(uint64_t word) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(word)); }


// "Lumo.<toolkit handle in decimal>.<Kind>", registered on the first
// creation of the kind; empty when it cannot be.
std::wstring HostClass(Kind kind, uintptr_t toolkit, WNDPROC procedure) {
  static std::array<std::wstring, kKindCount> registered;
  std::wstring& name = registered[static_cast<size_t>(kind)];
  if (!name.empty()) return name;
  std::wstring candidate = L"Lumo." + std::to_wstring(static_cast<intptr_t>(toolkit)) + L".";
  for (const char* c = abi::kKindNames[static_cast<size_t>(kind)]; *c; ++c) candidate += static_cast<wchar_t>(*c);
  WNDCLASSW windowClass{};
  windowClass.style = kHostClassStyle;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = kHostBrush;
  windowClass.lpszClassName = candidate.c_str();
  if (RegisterClassW(&windowClass)) name = candidate;
  return name;
}

// The second word of the stored property data: the tab page it belongs to.
uint32_t PageIdOf(const std::vector<uint8_t>& data) {
  uint32_t page = 0;
  if (data.size() >= 8) std::memcpy(&page, data.data() + 4, sizeof(page));
  return page;
}

}  // namespace

Win32Host::Win32Host(const ControlDescription& description, const EventDispatch* dispatch,
                     std::shared_mutex& controlsMutex)
    : id_(description.id),
      kind_(description.kind),
      propertyData_(description.propertyData),
      dispatch_(dispatch),
      controlsMutex_(controlsMutex),
      toolkit_(Toolkit()),
      rect_{description.left, description.top, description.width, description.height} {}

bool Win32Host::Create(HWND parent) {
  abi::CreateControlFn create = toolkit_.create[static_cast<size_t>(kind_)];
  if (!create || !toolkit_.Complete()) {
    ShowMissingCoreOnce(kind_);
    return false;
  }
  std::wstring windowClass = HostClass(kind_, toolkit_.module, &WindowProcedure);
  if (windowClass.empty()) return false;
  constexpr DWORD kStyle = WS_VISIBLE;
  window_ = CreateWindowExW(kHostExtendedStyle, windowClass.c_str(), nullptr, kStyle | WS_CHILD,
                            rect_.x, rect_.y, rect_.w, rect_.h, parent,
                            reinterpret_cast<HMENU>(static_cast<uintptr_t>(id_)),
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) return false;
  SetPropW(window_, kUnitProperty, this);
  if (uint32_t page = PageIdOf(propertyData_)) {
    SetPropW(window_, kPageProperty, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(page)));
  }
  control_ = create(propertyData_.data(), static_cast<int32_t>(propertyData_.size()), kStyle,
                    window_, id_, rect_.x, rect_.y, rect_.w, rect_.h, &Win32Host::OnToolkitEvent,
                    this);
  if (!control_) return false;
  SetPropW(window_, kControlProperty, control_);
  return true;
}

LRESULT CALLBACK Win32Host::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  auto* host = static_cast<Win32Host*>(GetPropW(window, kUnitProperty));
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the background is never erased
    case WM_WINDOWPOSCHANGED:
      if (host) host->FollowMove(*reinterpret_cast<const WINDOWPOS*>(lparam));
      break;
    case WM_NCDESTROY:
      // "Tab_WM_DESTROY" tells whoever looks while the control goes that its
      // host is going; then the window keeps no property of ours.
      RemovePropW(window, kUnitProperty);
      SetPropW(window, kDestroyedProperty, reinterpret_cast<HANDLE>(1));
      if (host) host->OnDestroyed();
      for (const wchar_t* name : {kPageProperty, kControlProperty, kDestroyedProperty}) {
        RemovePropW(window, name);
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// Unless the host neither moved nor changed size, the toolkit control
// follows; what did not change is taken from the control itself.
// "LayoutFrom" is set meanwhile: should the control move its host while it
// follows, that change is not forwarded back to it.
void Win32Host::FollowMove(const WINDOWPOS& position) {
  bool moved = (position.flags & SWP_NOMOVE) == 0;
  bool resized = (position.flags & SWP_NOSIZE) == 0;
  void* control = GetPropW(window_, kControlProperty);
  if ((!moved && !resized) || !control || GetPropW(window_, kLayoutFromProperty)) return;
  SetPropW(window_, kLayoutFromProperty, reinterpret_cast<HANDLE>(1));
  toolkit_.setRect(control, moved ? position.x : toolkit_.getLeft(control),
                   moved ? position.y : toolkit_.getTop(control),
                   resized ? position.cx : toolkit_.getWidth(control),
                   resized ? position.cy : toolkit_.getHeight(control));
  RemovePropW(window_, kLayoutFromProperty);
}

// The host window is going: the toolkit control goes with it, under the
// window system's lock so that no other thread is using it meanwhile.
void Win32Host::OnDestroyed() {
  std::unique_lock lock(controlsMutex_);
  if (control_) toolkit_.destroy(control_);
  control_ = nullptr;
  window_ = nullptr;
}

int32_t Win32Host::OnToolkitEvent(void* userData, int32_t code, int32_t a, int32_t b, int32_t c,
                                  int32_t d) {
  auto* host = static_cast<Win32Host*>(userData);
  // The handler may close the window: nothing of the host is touched after it.
  return ForwardToolkitEvent(*host->dispatch_, host->kind_, host->id_, code, {a, b, c, d});
}

uint64_t Win32Host::GetProperty(int32_t index) {
  if (!control_) return 0;
  if (index >= rt::ids::kFirstOwnSlot) {
    return toolkit_.sendMessage(control_, kMessageGetProperty, OwnNumber(index), 0);
  }
  return GetCommon(index);
}

void Win32Host::SetProperty(int32_t index, uint64_t value) {
  if (!control_) return;
  if (index >= rt::ids::kFirstOwnSlot) {
    toolkit_.sendMessage(control_, kMessageSetProperty, OwnNumber(index), value);
    return;
  }
  SetCommon(index, value);
}

uint64_t Win32Host::GetCommon(int32_t index) {
  std::lock_guard lock(mutex_);
  switch (index) {
    case kCommonLeft: return static_cast<uint32_t>(rect_.x);
    case kCommonTop: return static_cast<uint32_t>(rect_.y);
    case kCommonWidth: return static_cast<uint32_t>(rect_.w);
    case kCommonHeight: return static_cast<uint32_t>(rect_.h);
    case kCommonTag: return PointerWord(rt::NewText(tag_));
    case kCommonVisible: return shown_ ? 1 : 0;
    case kCommonDisabled: return enabled_ ? 0 : 1;
    case kCommonMousePointer:
      return PointerWord(rt::NewByteArray(mousePointer_.data(),
                                          static_cast<int64_t>(mousePointer_.size())));
    default: return 0;
  }
}

// Writes from a worker never wait for the UI thread: the host window is
// moved and shown asynchronously, and the toolkit control follows the host's
// state through its own thread-safe messages.
void Win32Host::SetCommon(int32_t index, uint64_t value) {
  auto number = static_cast<int32_t>(static_cast<uint32_t>(value));
  std::lock_guard lock(mutex_);
  switch (index) {
    case kCommonLeft:
    case kCommonTop:
    case kCommonWidth:
    case kCommonHeight: {
      (index == kCommonLeft ? rect_.x : index == kCommonTop ? rect_.y
                                      : index == kCommonWidth ? rect_.w : rect_.h) = number;
      SetWindowPos(window_, nullptr, rect_.x, rect_.y, rect_.w, rect_.h,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
      break;
    }
    case kCommonTag:
      tag_ = rt::TextView(static_cast<const char*>(WordPointer(value)));
      break;
    case kCommonVisible:
      shown_ = number != 0;
      ShowWindowAsync(window_, shown_ ? SW_SHOWNA : SW_HIDE);
      toolkit_.sendMessage(control_, kMessageSetHostShown, 0, shown_ ? 1 : 0);
      break;
    case kCommonDisabled:
      enabled_ = number == 0;
      toolkit_.sendMessage(control_, kMessageSetHostEnabled, 0, enabled_ ? 1 : 0);
      break;
    case kCommonMousePointer: {
      const void* bytes = WordPointer(value);
      mousePointer_.assign(reinterpret_cast<const char*>(rt::ByteArrayData(bytes)),
                           static_cast<size_t>(rt::ByteArrayLength(bytes)));
      break;
    }
    default: break;
  }
}

}  // namespace vlmr::skin
