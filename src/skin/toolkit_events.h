// What every host does with the toolkit's events and with a missing toolkit,
// whatever hosts the controls.
#pragma once

#include <cstdint>

#include "skin/control_kind.h"
#include "skin/window_description.h"

namespace vlmr::skin {

// Forwards a toolkit event of control `id` to the window's event dispatch:
// codes of 700 and above are the toolkit's own notices and answer 0; a code
// below becomes event EventBase(kind) + (code - 660). Returns the handler's
// answer (0 without a dispatch). The handler may close the window.
int32_t ForwardToolkitEvent(const EventDispatch& dispatch, Kind kind, uint32_t id, int32_t code,
                            const EventArgs& args);

// The first time for each kind: "程序缺少界面运行库必须依赖的核心文件
// LumoVostr_Win32.lib 文件,请在软件发布时携带此文件" under "警告".
void ShowMissingCoreOnce(Kind kind);

}  // namespace vlmr::skin
