// Message boxes as dialogs of the launcher's own: a window of this process
// with the caption, text, buttons and icon that the platform's message-box
// flags ask for, its Chinese text drawn in the launcher's CJK font. Under a
// headless video driver (offscreen, dummy) no dialog can appear, so the
// default button answers; so it does when no box can be drawn at all.
#pragma once

#include <cstdint>

#include "skin/message_box_owner.h"

namespace vlmr::skin {

// UI thread. GBK texts; the answer is an rt::MessageBoxResult. The box is
// modal to `owner`'s windows; without an owner it stands alone and the
// events of other windows that arrive meanwhile are dropped.
int32_t ShowDialogBox(const char* gbkText, int32_t flags, const char* gbkCaption,
                      BoxOwner* owner = nullptr);
// The answer a box with these flags gives when its default button is taken.
int32_t DefaultAnswer(int32_t flags);

}  // namespace vlmr::skin
