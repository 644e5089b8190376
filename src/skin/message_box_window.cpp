#include "skin/message_box_window.h"

#include <cstdio>
#include <utility>

#include "skin/message_box_painter.h"

namespace vlmr::skin {
namespace {

// The window an input or window event is addressed to; 0 for other events.
uint32_t TargetWindow(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT: return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return event.key.windowID;
    case SDL_TEXTINPUT: return event.text.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event.button.windowID;
    case SDL_MOUSEWHEEL: return event.wheel.windowID;
    default: return 0;
  }
}

// Centred over the parent, else on the screen.
SDL_Point PlaceOver(SDL_Window* parent, int width, int height) {
  constexpr int kCentred = SDL_WINDOWPOS_CENTERED;
  if (!parent) return {kCentred, kCentred};
  int x = 0, y = 0, w = 0, h = 0;
  SDL_GetWindowPosition(parent, &x, &y);
  SDL_GetWindowSize(parent, &w, &h);
  return {x + (w - width) / 2, y + (h - height) / 2};
}

// The next event; false when none came within `timeoutMs` (-1: no limit).
bool NextEvent(SDL_Event* event, int timeoutMs) {
  return (timeoutMs < 0 ? SDL_WaitEvent(event) : SDL_WaitEventTimeout(event, timeoutMs)) == 1;
}

}  // namespace

std::unique_ptr<BoxWindow> BoxWindow::Open(const BoxContent& content, SDL_Window* parent) {
  std::unique_ptr<BoxWindow> box(new BoxWindow(EscapeAnswer(content.buttons)));
  auto layout = LayOutBox(content, box->text_);
  if (!layout) return nullptr;
  box->layout_ = std::move(*layout);
  if (!box->Create(content.caption, parent)) {
    std::fprintf(stderr, "skin: no message box window: %s\n", SDL_GetError());
    return nullptr;
  }
  return box;
}

BoxWindow::~BoxWindow() {
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
}

bool BoxWindow::Create(const std::string& caption, SDL_Window* parent) {
  SDL_Point at = PlaceOver(parent, layout_.width, layout_.height);
  // Typed as a dialog, the window gets no maximise button and stays above its parent.
  SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_DIALOG");
  window_ = SDL_CreateWindow(caption.c_str(), at.x, at.y, layout_.width, layout_.height,
                             SDL_WINDOW_HIDDEN);
  SDL_ResetHint(SDL_HINT_X11_WINDOW_TYPE);
  if (!window_) return false;
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) return false;
  if (parent) SDL_SetWindowModalFor(window_, parent);
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  return true;
}

int32_t BoxWindow::Run(BoxOwner* owner) {
  Draw();
  for (;;) {
    int timeoutMs = owner ? owner->RedrawUnderBox() : -1;
    SDL_Event event;
    if (!NextEvent(&event, timeoutMs)) {
      if (timeoutMs < 0) return escapeAnswer_;  // the event queue itself failed
      continue;
    }
    if (!IsMine(event)) {
      if (owner) owner->HandleEventUnderBox(event);
    } else if (auto answer = Handle(event)) {
      return *answer;
    }
  }
}

bool BoxWindow::IsMine(const SDL_Event& event) const { return TargetWindow(event) == NativeId(); }

std::optional<int32_t> BoxWindow::Handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN: return HandleKey(event.key.keysym.sym);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return HandleMouseButton(event.button);
    case SDL_WINDOWEVENT: return HandleWindowEvent(event.window);
    default: return std::nullopt;
  }
}

std::optional<int32_t> BoxWindow::HandleKey(SDL_Keycode key) const {
  if (key == SDLK_RETURN || key == SDLK_KP_ENTER) return layout_.buttons.front().answer;
  if (key == SDLK_ESCAPE) return escapeAnswer_;
  return std::nullopt;
}

// A button answers when the left mouse button goes down and up on it.
std::optional<int32_t> BoxWindow::HandleMouseButton(const SDL_MouseButtonEvent& event) {
  if (event.button != SDL_BUTTON_LEFT) return std::nullopt;
  int at = ButtonAt(layout_, event.x, event.y);
  if (event.type == SDL_MOUSEBUTTONDOWN) {
    pressed_ = at;
    Draw();
    return std::nullopt;
  }
  int released = std::exchange(pressed_, -1);
  if (released >= 0 && released == at) return layout_.buttons[at].answer;
  Draw();
  return std::nullopt;
}

std::optional<int32_t> BoxWindow::HandleWindowEvent(const SDL_WindowEvent& event) {
  if (event.event == SDL_WINDOWEVENT_CLOSE) return escapeAnswer_;
  if (event.event == SDL_WINDOWEVENT_EXPOSED || event.event == SDL_WINDOWEVENT_SHOWN) Draw();
  return std::nullopt;
}

void BoxWindow::Draw() {
  PaintBox(renderer_, text_, layout_, pressed_);
  SDL_RenderPresent(renderer_);
}

}  // namespace vlmr::skin
