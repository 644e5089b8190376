#include "support/real_launcher_window.h"

#include <cstdlib>

#include "app/event_table.h"
#include "app/launcher_form.h"
#include "app/launcher_startup.h"
#include "runtime/launcher_ids.h"
#include "runtime/runtime_frame.h"
#include "runtime/window_system.h"
#include "support/environment.h"
#include "support/sdl_clicks.h"

namespace vlmr::test {
namespace {

const skin::ControlDescription* FindControl(const skin::WindowDescription& form, uint32_t id) {
  for (const auto& control : form.controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

uint32_t LauncherNativeWindow() {
  return app::LauncherWindowSystem().NativeWindowId(rt::ids::kLauncherWindow);
}

}  // namespace

std::pair<int, int> ControlCentre(uint32_t controlId) {
  const skin::WindowDescription form = app::LauncherWindowDescription({});
  const skin::ControlDescription* control = FindControl(form, controlId);
  if (control == nullptr) {
    ADD_FAILURE() << "the form has no control " << std::hex << controlId;
    return {0, 0};
  }
  int x = control->left + control->width / 2;
  int y = control->top + control->height / 2;
  for (auto* parent = FindControl(form, control->parentId); parent;
       parent = FindControl(form, parent->parentId)) {
    x += parent->left;
    y += parent->top;
  }
  return {x, y};
}

void PushClickOn(uint32_t controlId) {
  const auto [x, y] = ControlCentre(controlId);
  PushLeftClick(LauncherNativeWindow(), x, y);
}

RealLauncherWindow::RealLauncherWindow() : previousDirectory_(rt::ProgramDirectory()) {
  test::SetEnvironment("SDL_VIDEODRIVER", "offscreen");
  rt::SetProgramDirectory(dir_.LauncherPath());
}

RealLauncherWindow::~RealLauncherWindow() {
  Close();
  rt::SetProgramDirectory(previousDirectory_);
}

void RealLauncherWindow::Open(app::EventTable events) {
  app::LoadLauncherWindow(std::move(events));
  open_ = true;
  ASSERT_TRUE(windows().IsOpen(rt::ids::kLauncherWindow));
}

void RealLauncherWindow::Open() { Open(app::LauncherEventTable()); }

void RealLauncherWindow::Close() {
  if (!open_) return;
  windows().SendWindowMessage(rt::ids::kLauncherWindow, rt::kWmClose, 0, 0);
  rt::InstallWindowSystem(nullptr);
  open_ = false;
}

void RealLauncherWindow::Click(uint32_t controlId) {
  PushClickOn(controlId);
  windows().ProcessPendingMessages();
}

skin::SdlWindowSystem& RealLauncherWindow::windows() { return app::LauncherWindowSystem(); }

}  // namespace vlmr::test
