// Renders captions with SDL_ttf in the CJK font that fontconfig finds. UI
// thread only; fonts are opened once per pixel size and style.
#pragma once

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <map>
#include <string_view>
#include <utility>

#include "skin/property_data.h"

namespace vlmr::skin {

class TextRenderer {
 public:
  TextRenderer() = default;
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;
  ~TextRenderer();

  // White anti-aliased text on transparency (tint it with a colour mod);
  // null for empty text or when no font can be opened. Caller frees it.
  SDL_Surface* RenderWhite(std::string_view utf8, const CaptionFont& font);
  // Width in pixels of the text on one line; 0 for empty text or no font.
  int Width(std::string_view utf8, const CaptionFont& font);
  // Distance between the tops of two lines; 0 when no font can be opened.
  int LineHeight(const CaptionFont& font);

 private:
  TTF_Font* Open(const CaptionFont& font);
  std::map<std::pair<int, bool>, TTF_Font*> fonts_;
};

}  // namespace vlmr::skin
