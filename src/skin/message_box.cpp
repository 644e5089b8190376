#include "skin/message_box.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <string_view>

#include "skin/message_box_content.h"
#include "skin/message_box_window.h"
#include "skin/toolkit.h"

namespace vlmr::skin {
namespace {

bool Headless() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) driver = std::getenv("SDL_VIDEODRIVER");
  if (!driver) return false;
  std::string_view name(driver);
  return name == "offscreen" || name == "dummy";
}

}  // namespace

int32_t DefaultAnswer(int32_t flags) { return ButtonsFor(flags).front().answer; }

int32_t ShowDialogBox(const char* gbkText, int32_t flags, const char* gbkCaption, BoxOwner* owner) {
  if (!OpenToolkitCore() || Headless()) return DefaultAnswer(flags);
  auto box = BoxWindow::Open(ContentOf(gbkText, flags, gbkCaption),
                             owner ? owner->ParentForBox() : nullptr);
  return box ? box->Run(owner) : DefaultAnswer(flags);
}

}  // namespace vlmr::skin
