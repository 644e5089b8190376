#include "skin/toolkit_dll/skinned_control.h"

#include <windowsx.h>

namespace vlmr::skin::toolkit {
namespace {

constexpr wchar_t kWindowClass[] = L"LumoVostr.Control";
constexpr wchar_t kControlProperty[] = L"Tab_Control";

const wchar_t* WindowClass(WNDPROC procedure) {
  static const ATOM atom = [procedure] {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassW(&windowClass);
  }();
  return atom ? kWindowClass : nullptr;
}

// The toolkit control of a host window, which the host keeps as its
// "Tab_Control" property; null for the top-level window.
Control* ControlOfHost(HWND window) {
  auto* skinned = static_cast<SkinnedControl*>(GetPropW(window, kControlProperty));
  return skinned ? &skinned->control() : nullptr;
}

// Whether the pointer is still over some window of the same top-level window.
bool PointerStillInside(HWND root) {
  POINT cursor{};
  GetCursorPos(&cursor);
  HWND under = WindowFromPoint(cursor);
  return under && GetAncestor(under, GA_ROOT) == root && under != root;
}

}  // namespace

SkinnedControl::SkinnedControl(PropertySet properties, Scene& scene,
                               const ControlPlacement& placement, EventSink sink, void* userData)
    : scene_(scene), control_(std::move(properties), placement, sink, userData) {}

SkinnedControl* SkinnedControl::Create(PropertySet properties, HWND host, uint32_t id, Rect rect,
                                       EventSink sink, void* userData) {
  const wchar_t* windowClass = WindowClass(&WindowProcedure);
  HWND root = GetAncestor(host, GA_ROOT);
  // Without the message window no redraw could ever be asked for.
  if (!windowClass || !root || !ToolkitMessageWindow()) return nullptr;
  Scene& scene = SceneFor(root);
  Control* parent = ControlOfHost(GetParent(host));
  ControlPlacement placement{&scene, parent, id, rect, scene.NextZOrder()};
  auto* skinned = new SkinnedControl(std::move(properties), scene, placement, sink, userData);
  if (!CreateWindowExW(0, windowClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, rect.w, rect.h, host,
                       nullptr, GetModuleHandleW(nullptr), skinned)) {
    delete skinned;
    return nullptr;
  }
  if (!parent) scene.AddRoot(&skinned->control_);
  scene.RequestRedraw();
  return skinned;
}

SkinnedControl::~SkinnedControl() {
  scene_.Forget(&control_);
  if (IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void SkinnedControl::SetRect(const Rect& rect) {
  control_.SetRect(rect);
  SetWindowPos(window_, nullptr, 0, 0, rect.w, rect.h,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_ASYNCWINDOWPOS);
}

LRESULT CALLBACK SkinnedControl::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* created = static_cast<SkinnedControl*>(create->lpCreateParams);
    created->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* skinned = reinterpret_cast<SkinnedControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!skinned) return DefWindowProcW(window, message, wparam, lparam);
  return skinned->Handle(message, wparam, lparam);
}

LRESULT SkinnedControl::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  int x = GET_X_LPARAM(lparam);
  int y = GET_Y_LPARAM(lparam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      scene_.PaintInto(window_, dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      scene_.PointerMoved(window_, x, y);
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      if (GetCapture() != window_ && !PointerStillInside(GetAncestor(window_, GA_ROOT))) {
        scene_.PointerLeft();
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetCapture(window_);
      scene_.PointerPressed(window_, x, y);
      return 0;
    case WM_LBUTTONUP:
      // Only the window that took the capture at the press has a press to
      // finish; a release that comes without one clicks nothing.
      if (GetCapture() != window_) return 0;
      releasing_ = true;
      ReleaseCapture();
      releasing_ = false;
      // The click's handler may destroy this control: the release is the
      // last thing done with it.
      scene_.PointerReleased(window_, x, y);
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a box, another program): the press
      // is abandoned, so no later release can complete it.
      if (!releasing_ && reinterpret_cast<HWND>(lparam) != window_) scene_.PointerPressCancelled();
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

}  // namespace vlmr::skin::toolkit
