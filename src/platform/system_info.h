// Tick count, threads, the running executable's directory and the user's
// state folder.
#pragma once

#include <cstdint>
#include <string>

namespace vlmr::platform {

// Milliseconds since the system started (low 32 bits, wraps like GetTickCount).
uint32_t TickCount();
// Native (UTF-8) full path of the running executable.
std::string ExecutablePath();
// Starts a detached thread running routine(parameter); false when it cannot.
bool StartDetachedThread(void (*routine)(intptr_t), intptr_t parameter);
// Changes the process's current directory; false on failure.
bool SetCurrentDirectoryNative(const std::string& nativeDirectory);
// Native path of the launcher's folder among the user's state data:
// $XDG_STATE_HOME/vlmr when that is an absolute path, else
// ~/.local/state/vlmr (on Windows %LOCALAPPDATA%\vlmr). Not made here; empty
// when there is no home folder.
std::string UserStateFolder();
// Whether there is a desktop to show windows on: on Linux a display named by
// DISPLAY or WAYLAND_DISPLAY (or a video driver SDL_VIDEODRIVER chooses); on
// Windows always.
bool HasDesktop();

}  // namespace vlmr::platform
