// Program start: runtime initialisation, the startup routine, the launcher
// window on the system's window system, the message loop and the end.
#pragma once

#include "app/event_table.h"
#include "skin/native_window_system.h"

namespace vlmr::app {

// The version this launcher was built as ("0.1.0").
const char* LauncherVersion();

// The process's window system; made, and the calling thread made the UI
// thread, on first use. It lives until the process ends.
skin::NativeWindowSystem& LauncherWindowSystem();

// Installs the window system (no window yet), initialises the runtime from
// argv[0] (heap, program directory, declared functions, then the runtime
// libraries: the server component loads its module, or shows its failure box
// and ends the process with exit code 0) and sets TextCodePage to 936; the
// first thing main does.
void InitialiseLauncher(const char* argv0);

// Installs the window system and loads the launcher window with the given
// handlers; its creation event runs before it is shown. Failure is fatal
// ("载入启动窗口失败").
void LoadLauncherWindow(EventTable events);

// Runs the message loop until the window is closed, then ends the process
// with exit code 0 (also while an update worker still runs).
[[noreturn]] void RunUntilClosed();

}  // namespace vlmr::app
