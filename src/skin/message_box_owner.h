// The windows a message box is modal to, as the box's own event loop sees
// them: the box is centred over the parent, hands on every event that is not
// its own and lets them draw while it waits. UI thread.
#pragma once

#include <SDL2/SDL.h>

namespace vlmr::skin {

class BoxOwner {
 public:
  virtual ~BoxOwner() = default;
  // The window the box is modal for and centred over; null: the screen.
  virtual SDL_Window* ParentForBox() = 0;
  // An event the box's loop took that is not for the box. Input to the
  // owner's windows goes nowhere while the box is open.
  virtual void HandleEventUnderBox(const SDL_Event& event) = 0;
  // Draws what is due in the owner's windows; returns the milliseconds until
  // an animation frame is next due, -1 for none.
  virtual int RedrawUnderBox() = 0;
};

}  // namespace vlmr::skin
