// Event handlers of the settings panel (窗口EX2) and of its opener, all run on
// the UI thread. The confirm button's handler is SaveSettings (settings_store.h).
#pragma once

#include <cstdint>

namespace vlmr::settings {

// The game-settings button "游戏设置": the panel's visibility is inverted.
void ShowOrHideSettings();

// The reset button "恢复初始": ticks the default box of every group except the
// damage style and unticks the others; nothing is stored or written.
void ResetSettings();

// The click of any of the 22 boxes of the radio groups (the box has already
// toggled itself): when it is ticked, the other boxes of its group are
// unticked; in every case it ends ticked. Ids of other controls (such as the
// texture-filtering box, which toggles on its own) are ignored.
void GroupClick(uint32_t controlId);

}  // namespace vlmr::settings
