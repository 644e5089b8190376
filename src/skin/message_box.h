// Message boxes as real dialogs: the caption, text, buttons and icon that the
// platform's message-box flags ask for. Under a headless video driver
// (offscreen, dummy) no dialog can appear, so the default button answers.
#pragma once

#include <cstdint>

namespace vlmr::skin {

// UI thread. GBK texts; the answer is an rt::MessageBoxResult.
int32_t ShowDialogBox(const char* gbkText, int32_t flags, const char* gbkCaption);
// The answer a box with these flags gives when its default button is taken.
int32_t DefaultAnswer(int32_t flags);

}  // namespace vlmr::skin
