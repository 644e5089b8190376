// Where the parts of a message box go: the text wrapped to at most
// kBoxTextWidth pixels with the icon to its left on a white area, below it a
// grey strip with the buttons in a row at its right. Coordinates are those of
// the box's window.
#pragma once

#include <SDL2/SDL.h>

#include <optional>
#include <string>
#include <vector>

#include "skin/message_box_content.h"
#include "skin/property_data.h"
#include "skin/text_renderer.h"

namespace vlmr::skin {

inline constexpr CaptionFont kBoxFont{14, false, false};
inline constexpr int kBoxTextWidth = 420;

struct BoxLayout {
  struct Line {
    std::string utf8;
    SDL_Rect area;  // as wide as the line's text, one line high
  };
  struct Button {
    int32_t answer;
    std::string label;  // UTF-8
    SDL_Rect area;
  };
  int width = 0, height = 0;
  BoxIcon icon = BoxIcon::None;
  SDL_Rect iconArea{};
  std::vector<Line> lines;
  int stripTop = 0;  // the button strip reaches from here to the bottom
  std::vector<Button> buttons;
};

// Nullopt when no font can draw the text.
std::optional<BoxLayout> LayOutBox(const BoxContent& content, TextRenderer& text);
// The index of the button at (x, y); -1 for none.
int ButtonAt(const BoxLayout& layout, int x, int y);

}  // namespace vlmr::skin
