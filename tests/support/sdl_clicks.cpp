#include "support/sdl_clicks.h"

#include <SDL2/SDL.h>

#include <initializer_list>

namespace vlmr::test {

void PushLeftClick(uint32_t nativeWindowId, int x, int y) {
  for (uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
    SDL_Event event{};
    event.type = type;
    event.button.windowID = nativeWindowId;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
  }
}

}  // namespace vlmr::test
