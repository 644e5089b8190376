// Draws a laid-out message box with an SDL renderer, a window's or one over a
// plain surface: the white text area with the icon and the lines, the grey
// strip with the buttons. The first button, the one Return takes, has a blue
// frame. UI thread.
#pragma once

#include <SDL2/SDL.h>

#include "skin/message_box_layout.h"
#include "skin/text_renderer.h"

namespace vlmr::skin {

// `pressed`: the index of the button held down, -1 for none.
void PaintBox(SDL_Renderer* renderer, TextRenderer& text, const BoxLayout& layout, int pressed);

}  // namespace vlmr::skin
