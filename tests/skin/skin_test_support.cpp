#include "skin_test_support.h"

#include <cstdlib>

#include "skin/picture_codec.h"
#include "support/sdl_clicks.h"
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
  PushLeftClick(windows.NativeWindowId(windowId), x, y);
  windows.ProcessPendingMessages();
}

}  // namespace vlmr::test
