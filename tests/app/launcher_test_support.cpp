#include "launcher_test_support.h"

#include <cstdlib>

#include "app/launcher_startup.h"
#include "app/runtime/launcher_ids.h"
#include "app/runtime/runtime_frame.h"
#include "app/runtime/window_system.h"
#include "support/sdl_clicks.h"

namespace vlmr::test {

void ClickLauncherAt(int x, int y) {
  auto& windows = app::LauncherWindowSystem();
  PushLeftClick(windows.NativeWindowId(rt::ids::kLauncherWindow), x, y);
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
