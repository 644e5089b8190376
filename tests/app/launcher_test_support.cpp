#include "launcher_test_support.h"

#include <SDL2/SDL.h>

#include <cstdlib>

#include "app/launcher_startup.h"
#include "app/runtime/launcher_ids.h"
#include "app/runtime/runtime_frame.h"
#include "app/runtime/window_system.h"

namespace vlmr::test {

void PushClick(uint32_t nativeWindowId, int x, int y) {
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

void ClickLauncherAt(int x, int y) {
  auto& windows = app::LauncherWindowSystem();
  PushClick(windows.NativeWindowId(rt::ids::kLauncherWindow), x, y);
  windows.ProcessPendingMessages();
}

void LauncherWindowTest::SetUp() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  rt::SetProgramDirectory(programDirectory_.LauncherPath());
}

void LauncherWindowTest::Load(app::EventTable events) {
  app::LoadLauncherWindow(std::move(events));
  ASSERT_TRUE(windows().IsOpen(rt::ids::kLauncherWindow));
}

void LauncherWindowTest::TearDown() {
  windows().SendWindowMessage(rt::ids::kLauncherWindow, rt::kWmClose, 0, 0);
  rt::InstallWindowSystem(nullptr);
}

skin::SdlWindowSystem& LauncherWindowTest::windows() { return app::LauncherWindowSystem(); }

}  // namespace vlmr::test
