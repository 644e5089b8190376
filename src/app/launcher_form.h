// The launcher window's description: title, size and its 38 skinned controls
// in form order with ids, kinds, places, parents and stored property data
// (captions, pictures from the built-in artwork, the panel hidden at load).
#pragma once

#include "app/event_table.h"
#include "skin/window_description.h"

namespace vlmr::app {

inline constexpr int kLauncherWidth = 680;
inline constexpr int kLauncherHeight = 479;

skin::WindowDescription LauncherWindowDescription(EventTable events);

}  // namespace vlmr::app
