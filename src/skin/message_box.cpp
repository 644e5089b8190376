#include "skin/message_box.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "skin/message_box_content.h"

namespace vlmr::skin {
namespace {

uint32_t IconFlag(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Error: return SDL_MESSAGEBOX_ERROR;
    case BoxIcon::Warning: return SDL_MESSAGEBOX_WARNING;
    case BoxIcon::Question:
    case BoxIcon::Information: return SDL_MESSAGEBOX_INFORMATION;
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
  BoxContent box = ContentOf(gbkText, flags, gbkCaption);
  const auto& buttons = box.buttons;
  if (Headless()) return buttons.front().answer;
  std::erase(box.text, '\r');  // the dialog breaks lines at "\n" alone
  int32_t escape = EscapeAnswer(buttons);
  std::vector<SDL_MessageBoxButtonData> data;
  for (size_t i = 0; i < buttons.size(); ++i) {
    uint32_t keys = 0;
    if (i == 0) keys |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    if (buttons[i].answer == escape) keys |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    data.push_back({keys, buttons[i].answer, buttons[i].label});
  }
  SDL_MessageBoxData dialog{IconFlag(box.icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
                            nullptr,
                            box.caption.c_str(),
                            box.text.c_str(),
                            static_cast<int>(data.size()),
                            data.data(),
                            nullptr};
  int pressed = -1;
  if (SDL_ShowMessageBox(&dialog, &pressed) != 0) return buttons.front().answer;
  return pressed < 0 ? escape : pressed;
}

}  // namespace vlmr::skin
