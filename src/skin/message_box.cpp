#include "skin/message_box.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage.h"
#include "runtime/window_system.h"

namespace vlmr::skin {
namespace {

struct ButtonSpec {
  int32_t answer;
  const char* label;
};

// Buttons left to right; the first is the default, as with the platform's boxes.
std::vector<ButtonSpec> ButtonsFor(int32_t flags) {
  switch (flags & 0xF) {
    case rt::kMbOkCancel: return {{rt::kBoxOk, "确定"}, {rt::kBoxCancel, "取消"}};
    case rt::kMbAbortRetryIgnore:
      return {{rt::kBoxAbort, "中止"}, {rt::kBoxRetry, "重试"}, {rt::kBoxIgnore, "忽略"}};
    case rt::kMbYesNoCancel:
      return {{rt::kBoxYes, "是"}, {rt::kBoxNo, "否"}, {rt::kBoxCancel, "取消"}};
    case rt::kMbYesNo: return {{rt::kBoxYes, "是"}, {rt::kBoxNo, "否"}};
    case rt::kMbRetryCancel: return {{rt::kBoxRetry, "重试"}, {rt::kBoxCancel, "取消"}};
    default: return {{rt::kBoxOk, "确定"}};
  }
}

// What closing the box without a button means: Cancel where there is one,
// else the last button (OK, No).
int32_t EscapeAnswer(const std::vector<ButtonSpec>& buttons) {
  for (const auto& b : buttons) {
    if (b.answer == rt::kBoxCancel) return b.answer;
  }
  return buttons.back().answer;
}

uint32_t IconFlag(int32_t flags) {
  switch (flags & 0xF0) {
    case rt::kMbIconError: return SDL_MESSAGEBOX_ERROR;
    case rt::kMbIconWarning: return SDL_MESSAGEBOX_WARNING;
    case rt::kMbIconQuestion:
    case rt::kMbIconInformation: return SDL_MESSAGEBOX_INFORMATION;
    default: return 0;
  }
}

bool Headless() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) driver = std::getenv("SDL_VIDEODRIVER");
  if (!driver) return false;
  std::string_view name(driver);
  return name == "offscreen" || name == "dummy";
}

}  // namespace

int32_t DefaultAnswer(int32_t flags) { return ButtonsFor(flags).front().answer; }

int32_t ShowDialogBox(const char* gbkText, int32_t flags, const char* gbkCaption) {
  std::vector<ButtonSpec> buttons = ButtonsFor(flags);
  if (Headless()) return buttons.front().answer;
  std::string text = platform::GbkToUtf8(gbkText ? gbkText : "");
  std::erase(text, '\r');  // the dialog breaks lines at "\n" alone
  std::string caption = platform::GbkToUtf8(gbkCaption ? gbkCaption : "");
  int32_t escape = EscapeAnswer(buttons);
  std::vector<SDL_MessageBoxButtonData> data;
  for (size_t i = 0; i < buttons.size(); ++i) {
    uint32_t keys = 0;
    if (i == 0) keys |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    if (buttons[i].answer == escape) keys |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    data.push_back({keys, buttons[i].answer, buttons[i].label});
  }
  SDL_MessageBoxData box{IconFlag(flags) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
                         nullptr,
                         caption.c_str(),
                         text.c_str(),
                         static_cast<int>(data.size()),
                         data.data(),
                         nullptr};
  int pressed = -1;
  if (SDL_ShowMessageBox(&box, &pressed) != 0) return buttons.front().answer;
  return pressed < 0 ? escape : pressed;
}

}  // namespace vlmr::skin
