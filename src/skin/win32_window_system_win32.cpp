#include "skin/win32_window_system.h"

#include <algorithm>
#include <cstdio>

#include "platform/codepage.h"
#include "platform/win32_text.h"
#include "runtime/rt_value.h"
#include "skin/toolkit_entries.h"
#include "skin/win32_host.h"

namespace vlmr::skin {
namespace {

constexpr wchar_t kWindowClass[] = L"Vellmoor.LauncherWindow";
constexpr wchar_t kTaskClass[] = L"Vellmoor.UiTasks";
constexpr UINT kRunTaskMessage = WM_APP + 1;
// A fixed frame with a title bar, the system menu and the minimise box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

std::wstring WideFromGbk(const char* gbk) {
  return platform::win32::Wide(platform::GbkToUtf8(gbk ? gbk : ""));
}

// A task sent to the UI thread, and whether it ran there.
struct UiTask {
  std::function<int32_t()> run;
  bool ran = false;
  int32_t answer = 0;
};

// The outer rectangle that gives the client area the window's size,
// centred on the work area.
RECT CentredFrame(int clientWidth, int clientHeight) {
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int left = work.left + std::max<int>(0, (work.right - work.left - width) / 2);
  int top = work.top + std::max<int>(0, (work.bottom - work.top - height) / 2);
  return {left, top, left + width, top + height};
}

}  // namespace

// One loaded window: its top-level window and a host per control.
class Win32WindowSystem::OpenWindow {
 public:
  OpenWindow(std::shared_ptr<const WindowDescription> description, std::shared_mutex& mutex)
      : description_(std::move(description)), mutex_(mutex) {}

  bool CreateRoot(Win32WindowSystem* system) {
    std::wstring title = WideFromGbk(description_->title.c_str());
    RECT frame = CentredFrame(description_->width, description_->height);
    root_ = CreateWindowExW(0, kWindowClass, title.c_str(), kWindowStyle, frame.left, frame.top,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), system);
    return root_ != nullptr;
  }

  // Hosts in form order, each after its parent's.
  bool CreateControls() {
    for (const auto& control : description_->controls) {
      if (!Ensure(control, 0)) return false;
    }
    return true;
  }

  Win32Host* FindHost(uint32_t controlId) {
    auto it = hosts_.find(controlId);
    return it == hosts_.end() ? nullptr : it->second.get();
  }

  HWND root() const { return root_; }
  const WindowDescription& description() const { return *description_; }

 private:
  bool Ensure(const ControlDescription& control, int depth) {
    if (hosts_.count(control.id)) return true;
    const auto& controls = description_->controls;
    HWND parent = root_;
    if (control.parentId != 0) {
      auto it = std::find_if(controls.begin(), controls.end(),
                             [&](const auto& c) { return c.id == control.parentId; });
      if (it == controls.end() || depth > static_cast<int>(controls.size())) {
        std::fprintf(stderr, "skin: control %#x has no parent %#x in its window\n", control.id,
                     control.parentId);
        return false;
      }
      if (!Ensure(*it, depth + 1)) return false;
      parent = hosts_.at(control.parentId)->window();
    }
    auto host = std::make_unique<Win32Host>(control, &description_->dispatch, mutex_);
    Win32Host* created = host.get();
    hosts_.emplace(control.id, std::move(host));
    return created->Create(parent);
  }

  std::shared_ptr<const WindowDescription> description_;
  std::shared_mutex& mutex_;
  std::map<uint32_t, std::unique_ptr<Win32Host>> hosts_;
  HWND root_ = nullptr;
};

Win32WindowSystem::Win32WindowSystem() : uiThread_(std::this_thread::get_id()) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
  WNDCLASSW taskClass{};
  taskClass.lpfnWndProc = &TaskProcedure;
  taskClass.hInstance = instance;
  taskClass.lpszClassName = kTaskClass;
  RegisterClassW(&taskClass);
  taskWindow_ = CreateWindowExW(0, kTaskClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance, nullptr);
}

Win32WindowSystem::~Win32WindowSystem() {
  if (taskWindow_) DestroyWindow(taskWindow_);
}

Win32WindowSystem::OpenWindow* Win32WindowSystem::FindOpen(uint32_t windowId) {
  auto it = open_.find(windowId);
  return it == open_.end() ? nullptr : it->second.get();
}

bool Win32WindowSystem::LoadWindow(uint32_t windowId) {
  if (!OnUiThread()) return false;
  if (FindOpen(windowId)) return true;
  auto description = catalogue_.Description(windowId);
  if (!description) return false;
  // Published once its controls exist: until then no other thread may look.
  auto window = std::make_unique<OpenWindow>(description, windowsMutex_);
  if (!window->CreateRoot(this)) return false;
  if (!window->CreateControls()) {
    DestroyWindow(window->root());
    return false;
  }
  OpenWindow* opened = window.get();
  {
    std::unique_lock lock(windowsMutex_);
    open_.emplace(windowId, std::move(window));
  }
  catalogue_.MarkLoaded(windowId);
  if (description->dispatch) description->dispatch(rt::kWindowUnitId, kWindowCreatedEvent, {});
  if (!FindOpen(windowId)) return true;  // the creation handler closed it
  ShowWindow(opened->root(), SW_SHOWNORMAL);
  UpdateWindow(opened->root());
  return true;
}

uint64_t Win32WindowSystem::GetProperty(uint32_t windowId, uint32_t controlId, int32_t index,
                                        int32_t /*element*/) {
  std::shared_lock lock(windowsMutex_);
  OpenWindow* window = FindOpen(windowId);
  Win32Host* host = window ? window->FindHost(controlId) : nullptr;
  return host ? host->GetProperty(index) : 0;
}

void Win32WindowSystem::SetProperty(uint32_t windowId, uint32_t controlId, int32_t index,
                                    int32_t /*element*/, uint32_t low, uint32_t high) {
  std::shared_lock lock(windowsMutex_);
  OpenWindow* window = FindOpen(windowId);
  Win32Host* host = window ? window->FindHost(controlId) : nullptr;
  if (host) host->SetProperty(index, uint64_t{high} << 32 | low);
}

// The first shown window that is not minimised: a box owned by a minimised
// window would be hidden with it.
HWND Win32WindowSystem::ParentForBox() {
  for (auto& [id, window] : open_) {
    if (IsWindowVisible(window->root()) && !IsIconic(window->root())) return window->root();
  }
  return nullptr;
}

int32_t Win32WindowSystem::ShowMessageBox(const char* text, int32_t flags, const char* caption) {
  std::wstring wideText = WideFromGbk(text);
  std::wstring wideCaption = WideFromGbk(caption);
  return RunOnUiThread(
      [&] {
        int pressed = MessageBoxW(ParentForBox(), wideText.c_str(), wideCaption.c_str(),
                                  static_cast<UINT>(flags));
        // IDOK (1) ... IDNO (7) are the frame's answers plus one.
        return pressed > 0 ? static_cast<int32_t>(pressed - 1) : rt::kBoxCancel;
      },
      rt::kBoxCancel);
}

int32_t Win32WindowSystem::SendWindowMessage(uint32_t windowId, uint32_t message, int64_t wparam,
                                             int64_t /*lparam*/) {
  std::shared_lock lock(windowsMutex_);
  OpenWindow* window = FindOpen(windowId);
  if (!window) return 0;
  if (message == rt::kWmClose) {
    PostMessageW(window->root(), WM_CLOSE, 0, 0);
  } else if (message == rt::kWmSysCommand && (wparam & 0xFFF0) == rt::kScMinimize) {
    // The system command's low four bits are the system's own: ignored.
    ShowWindowAsync(window->root(), SW_MINIMIZE);
  }
  return 0;
}

// A task that could not reach the UI thread (its window or thread is gone)
// answers `fallback`, never a made-up answer.
int32_t Win32WindowSystem::RunOnUiThread(std::function<int32_t()> task, int32_t fallback) {
  if (OnUiThread()) return task();
  UiTask sent{std::move(task)};
  SendMessageW(taskWindow_, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(&sent));
  return sent.ran ? sent.answer : fallback;
}

LRESULT CALLBACK Win32WindowSystem::TaskProcedure(HWND window, UINT message, WPARAM wparam,
                                                  LPARAM lparam) {
  if (message != kRunTaskMessage) return DefWindowProcW(window, message, wparam, lparam);
  auto* task = reinterpret_cast<UiTask*>(lparam);
  task->answer = task->run();
  task->ran = true;
  return 0;
}

void Win32WindowSystem::ProcessPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32WindowSystem::RunMessageLoop() {
  if (open_.empty()) return;
  loopRunning_ = true;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  loopRunning_ = false;
}

// The top-level window and its hosts are gone: the window is no longer open,
// and the loop ends with the last one. A window that failed to load posts no
// quit: the fatal box that follows must stay up.
void Win32WindowSystem::OnWindowGone(HWND root) {
  std::unique_ptr<OpenWindow> closed;
  {
    std::unique_lock lock(windowsMutex_);
    auto it = std::find_if(open_.begin(), open_.end(),
                           [root](const auto& entry) { return entry.second->root() == root; });
    if (it == open_.end()) return;
    closed = std::move(it->second);
    open_.erase(it);
  }
  if (open_.empty() && loopRunning_) PostQuitMessage(0);
}

LRESULT CALLBACK Win32WindowSystem::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* system = reinterpret_cast<Win32WindowSystem*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the toolkit paints every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      const ToolkitEntries& toolkit = Toolkit();
      if (toolkit.callInternal) {
        toolkit.callInternal(abi::kInternalPaintTopLevel, reinterpret_cast<intptr_t>(window),
                             reinterpret_cast<intptr_t>(dc));
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_NCDESTROY:
      if (system) system->OnWindowGone(window);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace vlmr::skin
