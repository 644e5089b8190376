// A message box as a top-level SDL window of the launcher's own process:
// titled with the caption, modal for and centred over its parent, drawn with
// the launcher's CJK font. It is answered by a click on a button, by Return
// (the first button) and by Escape or closing its window (EscapeAnswer).
// UI thread.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "skin/message_box_content.h"
#include "skin/message_box_layout.h"
#include "skin/message_box_owner.h"
#include "skin/text_renderer.h"

namespace vlmr::skin {

class BoxWindow {
 public:
  // Shows the box; null when no window can be made or no font draws the
  // text. `parent` may be null.
  static std::unique_ptr<BoxWindow> Open(const BoxContent& content, SDL_Window* parent);
  BoxWindow(const BoxWindow&) = delete;
  BoxWindow& operator=(const BoxWindow&) = delete;
  ~BoxWindow();

  uint32_t NativeId() const { return SDL_GetWindowID(window_); }
  const BoxLayout& layout() const { return layout_; }

  // Runs the box's event loop until it is answered and returns the answer.
  // Events for other windows go to `owner`; without one they are dropped.
  int32_t Run(BoxOwner* owner);

 private:
  explicit BoxWindow(int32_t escapeAnswer) : escapeAnswer_(escapeAnswer) {}
  bool Create(const std::string& caption, SDL_Window* parent);
  bool IsMine(const SDL_Event& event) const;
  std::optional<int32_t> Handle(const SDL_Event& event);
  std::optional<int32_t> HandleKey(SDL_Keycode key) const;
  std::optional<int32_t> HandleMouseButton(const SDL_MouseButtonEvent& event);
  std::optional<int32_t> HandleWindowEvent(const SDL_WindowEvent& event);
  void Draw();

  TextRenderer text_;
  BoxLayout layout_;
  int32_t escapeAnswer_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  int pressed_ = -1;  // the button the left mouse button went down on
};

}  // namespace vlmr::skin
