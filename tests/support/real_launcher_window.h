// The real launcher window, headless (SDL's offscreen driver), loaded in a
// temporary launcher folder; controls are clicked by id at their places in
// the form, through SDL's event queue.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "app/event_table.h"
#include "skin/sdl_window_system.h"
#include "support/temp_dir.h"

namespace vlmr::test {

// A control's centre in window coordinates, from the form's places (the
// offsets of its parents added).
std::pair<int, int> ControlCentre(uint32_t controlId);

// Pushes a left click on the control into SDL's event queue without handling
// it; a running message loop takes it.
void PushClickOn(uint32_t controlId);

class RealLauncherWindow : public testing::Test {
 protected:
  RealLauncherWindow();
  ~RealLauncherWindow() override;

  // Loads the window with `events`, the launcher's own table by default; the
  // creation event runs before it is shown (the launcher's loads settings).
  void Open(app::EventTable events);
  void Open();
  void Close();

  // A left click at the centre of a control, handled at once.
  void Click(uint32_t controlId);

  static skin::SdlWindowSystem& windows();

  TempDir dir_;  // the launcher's folder

 private:
  std::string previousDirectory_;
  bool open_ = false;
};

}  // namespace vlmr::test
