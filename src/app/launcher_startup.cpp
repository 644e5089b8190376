#include "app/launcher_startup.h"

#include "app/launcher_form.h"
#include "runtime/launcher_ids.h"
#include "runtime/runtime_frame.h"
#include "runtime/text_code_page.h"
#include "runtime/window_system.h"

namespace vlmr::app {

const char* LauncherVersion() { return VLMR_VERSION; }

skin::SdlWindowSystem& LauncherWindowSystem() {
  // Never destroyed: a worker may still write properties while the process ends.
  static auto* windows = new skin::SdlWindowSystem();
  return *windows;
}

void InitialiseLauncher(const char* argv0) {
  rt::InitialiseRuntime(argv0);
  rt::TextCodePage = 936;
}

void LoadLauncherWindow(EventTable events) {
  skin::SdlWindowSystem& windows = LauncherWindowSystem();
  windows.RegisterWindow(LauncherWindowDescription(std::move(events)));
  rt::InstallWindowSystem(&windows);
  rt::load_window(rt::ids::kLauncherWindow);
}

void RunUntilClosed() {
  rt::end_program(rt::run_message_loop());
}

}  // namespace vlmr::app
