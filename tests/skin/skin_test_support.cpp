#include "skin_test_support.h"

#include <SDL2/SDL.h>

#include <cstdlib>

#include "skin/picture_codec.h"
#include "support/temp_dir.h"

namespace vlmr::test {

void UseOffscreenVideo() { setenv("SDL_VIDEODRIVER", "offscreen", 0); }

std::string SolidPng(int width, int height, uint32_t rgba) {
  skin::Picture picture{width, height, {}};
  for (int i = 0; i < width * height; ++i) {
    for (int shift : {24, 16, 8, 0}) picture.rgba.push_back(static_cast<uint8_t>(rgba >> shift));
  }
  TempDir dir;
  std::string why;
  if (!skin::WritePng(picture, dir / "solid.png", &why)) return {};
  return dir.Read("solid.png");
}

void ClickAt(skin::SdlWindowSystem& windows, uint32_t windowId, int x, int y) {
  for (uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
    SDL_Event event{};
    event.type = type;
    event.button.windowID = windows.NativeWindowId(windowId);
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
  }
  windows.ProcessPendingMessages();
}

}  // namespace vlmr::test
