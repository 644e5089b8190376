#include "app/launcher_startup.h"

#include "app/launcher_form.h"
#include "component/server_suite.h"
#include "runtime/launcher_ids.h"
#include "runtime/runtime_frame.h"
#include "runtime/text_code_page.h"
#include "runtime/window_system.h"

namespace vlmr::app {

const char* LauncherVersion() { return VLMR_VERSION; }

skin::NativeWindowSystem& LauncherWindowSystem() {
  // Never destroyed: a worker may still write properties while the process ends.
  static auto* windows = new skin::NativeWindowSystem();
  return *windows;
}

namespace {

// The runtime libraries the launcher is built with, notified in this order.
constexpr rt::LibraryNotifyFn kRuntimeLibraries[] = {&component::NotifyServerSuite};

}  // namespace

void InitialiseLauncher(const char* argv0) {
  // Installed first so that a box before the window (the component's failure
  // box) is a real one; no window is made until the launcher window loads.
  rt::InstallWindowSystem(&LauncherWindowSystem());
  rt::InitialiseRuntime(argv0, kRuntimeLibraries);
  rt::TextCodePage = 936;
}

void LoadLauncherWindow(EventTable events) {
  skin::NativeWindowSystem& windows = LauncherWindowSystem();
  windows.RegisterWindow(LauncherWindowDescription(std::move(events)));
  rt::InstallWindowSystem(&windows);
  rt::load_window(rt::ids::kLauncherWindow);
}

void RunUntilClosed() {
  rt::end_program(rt::run_message_loop());
}

}  // namespace vlmr::app
