#include "skin_test_support.h"

#include <cstdlib>
#include <cstring>

#include "skin/picture_codec.h"
#include "support/environment.h"
#include "support/sdl_clicks.h"
#include "support/temp_dir.h"

namespace vlmr::test {

void UseOffscreenVideo() { test::SetEnvironment("SDL_VIDEODRIVER", "offscreen"); }

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
  PushLeftClick(windows.NativeWindowId(windowId), x, y);
  windows.ProcessPendingMessages();
}

void PushKeyPress(uint32_t nativeWindowId, SDL_Keycode key) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.windowID = nativeWindowId;
  event.key.state = SDL_PRESSED;
  event.key.keysym.sym = key;
  SDL_PushEvent(&event);
}

void PushCloseButton(uint32_t nativeWindowId) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = nativeWindowId;
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&event);
}

uint32_t PixelRgba(SDL_Surface* surface, int x, int y) {
  uint32_t raw = 0;
  std::memcpy(&raw, static_cast<uint8_t*>(surface->pixels) + y * surface->pitch + x * 4, 4);
  uint8_t r, g, b, a;
  SDL_GetRGBA(raw, surface->format, &r, &g, &b, &a);
  return uint32_t{r} << 24 | uint32_t{g} << 16 | uint32_t{b} << 8 | a;
}

uint32_t ShownPixel(skin::SdlWindowSystem& windows, uint32_t windowId, int x, int y) {
  SDL_Window* window = SDL_GetWindowFromID(windows.NativeWindowId(windowId));
  SDL_Surface* shown = window ? SDL_GetWindowSurface(window) : nullptr;
  SDL_Surface* copy = shown ? SDL_ConvertSurfaceFormat(shown, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
  if (!copy) return 0;
  uint32_t pixel = PixelRgba(copy, x, y);
  SDL_FreeSurface(copy);
  return pixel;
}

}  // namespace vlmr::test
