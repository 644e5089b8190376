// The real launcher window, headless (SDL's offscreen driver), loaded with the
// launcher's own event table in a temporary launcher folder; controls are
// clicked through SDL's event queue at their places in the form.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/event_table.h"
#include "app/launcher_form.h"
#include "app/launcher_startup.h"
#include "app/runtime/launcher_ids.h"
#include "app/runtime/runtime_frame.h"
#include "support/sdl_clicks.h"
#include "support/temp_dir.h"

namespace vlmr::test {

class RealLauncherWindow : public testing::Test {
 protected:
  RealLauncherWindow() : previousDirectory_(rt::ProgramDirectory()) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    rt::SetProgramDirectory(dir_.LauncherPath());
  }
  ~RealLauncherWindow() override {
    Close();
    rt::SetProgramDirectory(previousDirectory_);
  }

  // Loads the window: its creation event runs the launcher's load settings.
  void Open() {
    app::LoadLauncherWindow(app::LauncherEventTable());
    loaded_ = true;
    ASSERT_TRUE(app::LauncherWindowSystem().IsOpen(rt::ids::kLauncherWindow));
  }

  void Close() {
    if (!loaded_) return;
    app::LauncherWindowSystem().SendWindowMessage(rt::ids::kLauncherWindow, rt::kWmClose, 0, 0);
    rt::InstallWindowSystem(nullptr);
    loaded_ = false;
  }

  // A left click at the centre of a control, handled at once.
  void Click(uint32_t controlId) {
    const auto [x, y] = Centre(controlId);
    auto& windows = app::LauncherWindowSystem();
    PushLeftClick(windows.NativeWindowId(rt::ids::kLauncherWindow), x, y);
    windows.ProcessPendingMessages();
  }

  test::TempDir dir_;

 private:
  // The control's centre in window coordinates, from the form's places.
  static std::pair<int, int> Centre(uint32_t controlId) {
    const skin::WindowDescription form = app::LauncherWindowDescription({});
    auto find = [&](uint32_t id) -> const skin::ControlDescription* {
      for (const auto& c : form.controls) {
        if (c.id == id) return &c;
      }
      return nullptr;
    };
    const skin::ControlDescription* control = find(controlId);
    if (control == nullptr) {
      ADD_FAILURE() << "no control " << std::hex << controlId;
      return {0, 0};
    }
    int x = control->left + control->width / 2;
    int y = control->top + control->height / 2;
    for (auto* parent = find(control->parentId); parent; parent = find(parent->parentId)) {
      x += parent->left;
      y += parent->top;
    }
    return {x, y};
  }

  std::string previousDirectory_;
  bool loaded_ = false;
};

}  // namespace vlmr::test
