// The real launcher window, loaded headless with a test's own event table,
// and clicks on it through SDL's event queue.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "app/event_table.h"
#include "skin/sdl_window_system.h"
#include "support/temp_dir.h"

namespace vlmr::test {

// A left click at window coordinates of the launcher window, handled at once.
void ClickLauncherAt(int x, int y);

// Loads the launcher window with the test's table and a temporary program
// directory; closes it again afterwards.
class LauncherWindowTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Call from the test body (or a derived SetUp) to load the window.
  void Load(app::EventTable events);
  skin::SdlWindowSystem& windows();

  TempDir programDirectory_;
};

}  // namespace vlmr::test
