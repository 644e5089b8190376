#include "support/sdl_clicks.h"

#include <SDL2/SDL.h>

#include <initializer_list>

namespace vlmr::test {

void PushLeftClick(uint32_t nativeWindowId, int x, int y) {
  PushLeftDrag(nativeWindowId, x, y, x, y);
}

void PushLeftDrag(uint32_t nativeWindowId, int fromX, int fromY, int toX, int toY) {
  for (uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
    bool down = type == SDL_MOUSEBUTTONDOWN;
    SDL_Event event{};
    event.type = type;
    event.button.windowID = nativeWindowId;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = down ? fromX : toX;
    event.button.y = down ? fromY : toY;
    SDL_PushEvent(&event);
  }
}

}  // namespace vlmr::test
