#include "skin/sdl_window_system.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "platform/codepage.h"
#include "runtime/rt_value.h"
#include "skin/control_painter.h"
#include "skin/host_window.h"
#include "skin/message_box.h"
#include "skin/pointer_input.h"
#include "skin/toolkit.h"

namespace vlmr::skin {
namespace {

// Input from the user, the close button included.
bool IsUserInput(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL: return true;
    case SDL_WINDOWEVENT: return event.window.event == SDL_WINDOWEVENT_CLOSE;
    default: return false;
  }
}

}  // namespace

// One loaded window: its native SDL window and renderer, a host per control,
// the top-level controls in z-order, the painter and the pointer state.
class SdlWindowSystem::OpenWindow final : public Surface {
 public:
  OpenWindow(std::shared_ptr<const WindowDescription> description, UiBridge& bridge)
      : description_(std::move(description)), bridge_(bridge) {}
  ~OpenWindow() override {
    painter_.reset();
    for (auto& [id, host] : hosts_) host->Destroy();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
  }

  // Any thread: marks the window for drawing and asks the UI thread to draw.
  void RequestRedraw() override {
    dirty_ = true;
    bridge_.RequestRedraw();
  }

  bool CreateControls() {
    for (const auto& control : description_->controls) {
      if (!Ensure(control, 0)) return false;
    }
    for (const auto& [id, host] : hosts_) {
      if (!host->control()->parent()) roots_.push_back(host->control());
    }
    std::sort(roots_.begin(), roots_.end(),
              [](Control* a, Control* b) { return a->zOrder() < b->zOrder(); });
    return true;
  }

  bool CreateNative() {
    std::string title = platform::GbkToUtf8(description_->title);
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               description_->width, description_->height, SDL_WINDOW_HIDDEN);
    if (!window_) return false;
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return false;
    painter_ = std::make_unique<ControlPainter>(renderer_);
    return true;
  }

  // Draws every control; `present` shows the frame.
  void Draw(int64_t nowMs) {
    dirty_ = false;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    painter_->Paint(roots_, description_->width, description_->height, nowMs);
    int64_t untilNext = painter_->MsUntilNextFrame();
    nextFrameAtMs_ = untilNext < 0 ? -1 : nowMs + untilNext;
  }

  Host* FindHost(uint32_t controlId) {
    auto it = hosts_.find(controlId);
    return it == hosts_.end() ? nullptr : it->second.get();
  }

  const WindowDescription& description() const { return *description_; }
  SDL_Window* window() const { return window_; }
  SDL_Renderer* renderer() const { return renderer_; }
  const std::vector<Control*>& roots() const { return roots_; }
  PointerInput& pointer() { return pointer_; }
  bool dirty() const { return dirty_; }
  // Iconic as the windowing system reports it: nothing is drawn meanwhile.
  bool iconic() const { return iconic_; }
  void SetIconic(bool iconic) { iconic_ = iconic; }
  // Asked to minimise and not restored since (a headless driver reports nothing).
  bool minimiseRequested() const { return minimiseRequested_; }
  void SetMinimiseRequested(bool requested) { minimiseRequested_ = requested; }
  int64_t nextFrameAtMs() const { return nextFrameAtMs_; }

 private:
  // Creates the host of a control after its parent's; z-order is form order.
  bool Ensure(const ControlDescription& control, int depth) {
    if (hosts_.count(control.id)) return true;
    const auto& controls = description_->controls;
    Control* parent = nullptr;
    if (control.parentId != 0) {
      auto it = std::find_if(controls.begin(), controls.end(),
                             [&](const auto& c) { return c.id == control.parentId; });
      if (it == controls.end() || depth > static_cast<int>(controls.size())) {
        std::fprintf(stderr, "skin: control %#x has no parent %#x in its window\n", control.id,
                     control.parentId);
        return false;
      }
      if (!Ensure(*it, depth + 1)) return false;
      parent = hosts_.at(control.parentId)->control();
    }
    int zOrder = static_cast<int>(&control - controls.data());
    auto host = std::make_unique<Host>(control, &description_->dispatch);
    if (!host->Create(this, parent, zOrder)) return false;
    hosts_.emplace(control.id, std::move(host));
    return true;
  }

  std::shared_ptr<const WindowDescription> description_;
  UiBridge& bridge_;
  std::map<uint32_t, std::unique_ptr<Host>> hosts_;
  std::vector<Control*> roots_;
  PointerInput pointer_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<ControlPainter> painter_;
  std::atomic<bool> dirty_{true};
  bool iconic_ = false;
  bool minimiseRequested_ = false;
  int64_t nextFrameAtMs_ = -1;
};

SdlWindowSystem::SdlWindowSystem() = default;

SdlWindowSystem::~SdlWindowSystem() {
  std::unique_lock lock(windowsMutex_);
  open_.clear();
}

SdlWindowSystem::OpenWindow* SdlWindowSystem::FindOpen(uint32_t windowId) {
  auto it = open_.find(windowId);
  return it == open_.end() ? nullptr : it->second.get();
}

SdlWindowSystem::OpenWindow* SdlWindowSystem::FindByNative(uint32_t nativeId) {
  for (auto& [id, window] : open_) {
    if (SDL_GetWindowID(window->window()) == nativeId) return window.get();
  }
  return nullptr;
}

bool SdlWindowSystem::LoadWindow(uint32_t windowId) {
  if (!bridge_.OnUiThread()) return false;
  if (FindOpen(windowId)) return true;
  auto description = catalogue_.Description(windowId);
  if (!description) return false;
  auto window = std::make_unique<OpenWindow>(description, bridge_);
  if (!window->CreateControls() || !window->CreateNative()) return false;
  OpenWindow* opened = window.get();
  {
    std::unique_lock lock(windowsMutex_);
    open_.emplace(windowId, std::move(window));
  }
  catalogue_.MarkLoaded(windowId);
  ++dispatchDepth_;
  if (description->dispatch) description->dispatch(rt::kWindowUnitId, kWindowCreatedEvent, {});
  --dispatchDepth_;
  FlushPendingCloses();
  if (!FindOpen(windowId)) return true;  // the creation handler closed it
  SDL_ShowWindow(opened->window());
  Render(*opened);
  return true;
}

uint64_t SdlWindowSystem::GetProperty(uint32_t windowId, uint32_t controlId, int32_t index,
                                      int32_t /*element*/) {
  std::shared_lock lock(windowsMutex_);
  OpenWindow* window = FindOpen(windowId);
  Host* host = window ? window->FindHost(controlId) : nullptr;
  return host ? host->GetProperty(index) : 0;
}

void SdlWindowSystem::SetProperty(uint32_t windowId, uint32_t controlId, int32_t index,
                                  int32_t /*element*/, uint32_t low, uint32_t high) {
  std::shared_lock lock(windowsMutex_);
  OpenWindow* window = FindOpen(windowId);
  Host* host = window ? window->FindHost(controlId) : nullptr;
  if (host) host->SetProperty(index, uint64_t{high} << 32 | low);
}

int32_t SdlWindowSystem::ShowMessageBox(const char* text, int32_t flags, const char* caption) {
  return bridge_.RunOnUiThread([&] { return ShowDialogBox(text, flags, caption, this); },
                               DefaultAnswer(flags));
}

SDL_Window* SdlWindowSystem::ParentForBox() {
  for (auto& [id, window] : open_) {
    bool shown = SDL_GetWindowFlags(window->window()) & SDL_WINDOW_SHOWN;
    if (shown && !window->iconic() && !window->minimiseRequested()) return window->window();
  }
  return nullptr;
}

void SdlWindowSystem::HandleEventUnderBox(const SDL_Event& event) {
  if (IsUserInput(event)) return;
  HandleEvent(event);
}

int SdlWindowSystem::RedrawUnderBox() {
  RenderDue();
  return MsUntilAnimationDue();
}

int32_t SdlWindowSystem::SendWindowMessage(uint32_t windowId, uint32_t message, int64_t wparam,
                                           int64_t /*lparam*/) {
  return bridge_.RunOnUiThread(
      [=, this] { return HandleWindowMessage(windowId, message, wparam); }, 0);
}

int32_t SdlWindowSystem::HandleWindowMessage(uint32_t windowId, uint32_t message,
                                             int64_t wparam) {
  OpenWindow* window = FindOpen(windowId);
  if (!window) return 0;
  if (message == rt::kWmClose) {
    RequestClose(windowId);
  } else if (message == rt::kWmSysCommand && (wparam & 0xFFF0) == rt::kScMinimize) {
    // The system command's low four bits are the system's own: ignored.
    SDL_MinimizeWindow(window->window());
    window->SetMinimiseRequested(true);
  }
  return 0;
}

// Inside an event handler the close waits until the handler has returned, so
// that no control is destroyed under the code that raised its event.
void SdlWindowSystem::RequestClose(uint32_t windowId) {
  if (dispatchDepth_ > 0) {
    pendingCloses_.push_back(windowId);
  } else {
    CloseWindow(windowId);
  }
}

void SdlWindowSystem::CloseWindow(uint32_t windowId) {
  std::unique_ptr<OpenWindow> closing;
  {
    std::unique_lock lock(windowsMutex_);
    auto it = open_.find(windowId);
    if (it == open_.end()) return;
    closing = std::move(it->second);
    open_.erase(it);
  }
  closing.reset();
  if (open_.empty() && loopRunning_) quit_ = true;
}

void SdlWindowSystem::HandleEvent(const SDL_Event& event) {
  ++dispatchDepth_;
  if (bridge_.Handle(event) == UiBridge::Handled::NotMine) {
    switch (event.type) {
      case SDL_MOUSEMOTION:
        if (OpenWindow* w = FindByNative(event.motion.windowID)) {
          w->pointer().Move(w->roots(), event.motion.x, event.motion.y);
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT) break;
        if (OpenWindow* w = FindByNative(event.button.windowID)) {
          if (event.type == SDL_MOUSEBUTTONDOWN) {
            w->pointer().Press(w->roots(), event.button.x, event.button.y);
          } else {
            w->pointer().Release(w->roots(), event.button.x, event.button.y);
          }
        }
        break;
      case SDL_WINDOWEVENT:
        HandleWindowEvent(event.window);
        break;
      default:
        break;
    }
  }
  --dispatchDepth_;
  FlushPendingCloses();
}

void SdlWindowSystem::FlushPendingCloses() {
  if (dispatchDepth_ > 0) return;
  for (uint32_t id : std::exchange(pendingCloses_, {})) CloseWindow(id);
}

void SdlWindowSystem::HandleWindowEvent(const SDL_WindowEvent& event) {
  OpenWindow* window = FindByNative(event.windowID);
  if (!window) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      RequestClose(window->description().id);
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      window->SetIconic(true);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      window->SetIconic(false);
      window->SetMinimiseRequested(false);
      window->RequestRedraw();
      break;
    case SDL_WINDOWEVENT_LEAVE:
      window->pointer().Leave();
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
      window->RequestRedraw();
      break;
    default:
      break;
  }
}

void SdlWindowSystem::ProcessPendingMessages() {
  if (bridge_.OnUiThread()) PumpAndRender();
}

void SdlWindowSystem::PumpAndRender() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) HandleEvent(event);
  RenderDue();
}

void SdlWindowSystem::RunMessageLoop() {
  if (!bridge_.OnUiThread() || open_.empty()) return;
  loopRunning_ = true;
  quit_ = false;
  while (!quit_) {
    SDL_Event event;
    int timeout = MsUntilAnimationDue();
    if (timeout < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeout)) {
      HandleEvent(event);
    }
    if (!quit_) PumpAndRender();
  }
  loopRunning_ = false;
}

int SdlWindowSystem::MsUntilAnimationDue() {
  int64_t now = static_cast<int64_t>(SDL_GetTicks64());
  int64_t soonest = -1;
  for (auto& [id, window] : open_) {
    int64_t at = window->nextFrameAtMs();
    if (at < 0 || window->iconic()) continue;
    int64_t wait = std::max<int64_t>(0, at - now);
    if (soonest < 0 || wait < soonest) soonest = wait;
  }
  return static_cast<int>(soonest);
}

void SdlWindowSystem::RenderDue() {
  int64_t now = static_cast<int64_t>(SDL_GetTicks64());
  for (auto& [id, window] : open_) {
    bool animationDue = window->nextFrameAtMs() >= 0 && window->nextFrameAtMs() <= now;
    if ((window->dirty() || animationDue) && !window->iconic()) Render(*window);
  }
}

void SdlWindowSystem::Render(OpenWindow& window) {
  window.Draw(static_cast<int64_t>(SDL_GetTicks64()));
  SDL_RenderPresent(window.renderer());
}

bool SdlWindowSystem::IsOpen(uint32_t windowId) { return FindOpen(windowId) != nullptr; }

bool SdlWindowSystem::IsMinimised(uint32_t windowId) {
  OpenWindow* window = FindOpen(windowId);
  if (!window) return false;
  return window->iconic() || window->minimiseRequested() ||
         (SDL_GetWindowFlags(window->window()) & SDL_WINDOW_MINIMIZED);
}

uint32_t SdlWindowSystem::NativeWindowId(uint32_t windowId) {
  OpenWindow* window = FindOpen(windowId);
  return window ? SDL_GetWindowID(window->window()) : 0;
}

std::optional<Picture> SdlWindowSystem::Capture(uint32_t windowId) {
  OpenWindow* window = FindOpen(windowId);
  if (!window) return std::nullopt;
  window->Draw(static_cast<int64_t>(SDL_GetTicks64()));
  Picture picture;
  picture.width = window->description().width;
  picture.height = window->description().height;
  picture.rgba.resize(static_cast<size_t>(picture.width) * picture.height * 4);
  int read = SDL_RenderReadPixels(window->renderer(), nullptr, SDL_PIXELFORMAT_RGBA32,
                                  picture.rgba.data(), picture.width * 4);
  SDL_RenderPresent(window->renderer());
  if (read != 0) return std::nullopt;
  return picture;
}

}  // namespace vlmr::skin
