// The window system of the system the launcher is built for: the skinned
// window on SDL2, or on Win32 with the toolkit DLL loaded from memory.
#pragma once

#ifdef _WIN32
#include "skin/win32_window_system.h"
namespace vlmr::skin {
using NativeWindowSystem = Win32WindowSystem;
}
#else
#include "skin/sdl_window_system.h"
namespace vlmr::skin {
using NativeWindowSystem = SdlWindowSystem;
}
#endif
