#include "skin/text_renderer.h"

#include <cstdio>
#include <string>

#include "skin/font_finder.h"

namespace vlmr::skin {

TextRenderer::~TextRenderer() {
  for (auto& [key, font] : fonts_) {
    if (font) TTF_CloseFont(font);
  }
}

TTF_Font* TextRenderer::Open(const CaptionFont& font) {
  auto key = std::make_pair(font.pixelSize, font.bold);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  TTF_Font* opened = nullptr;
  if (auto file = FindCjkFont()) {
    opened = TTF_OpenFontIndex(file->path.c_str(), font.pixelSize, file->index);
    if (!opened) std::fprintf(stderr, "skin: font %s: %s\n", file->path.c_str(), TTF_GetError());
  } else {
    std::fprintf(stderr, "skin: no font with Chinese characters found\n");
  }
  if (opened && font.bold) TTF_SetFontStyle(opened, TTF_STYLE_BOLD);
  fonts_[key] = opened;
  return opened;
}

SDL_Surface* TextRenderer::RenderWhite(std::string_view utf8, const CaptionFont& font) {
  if (utf8.empty()) return nullptr;
  TTF_Font* ttf = Open(font);
  if (!ttf) return nullptr;
  std::string text(utf8);
  return TTF_RenderUTF8_Blended(ttf, text.c_str(), SDL_Color{255, 255, 255, 255});
}

int TextRenderer::Width(std::string_view utf8, const CaptionFont& font) {
  TTF_Font* ttf = utf8.empty() ? nullptr : Open(font);
  int width = 0;
  if (ttf && TTF_SizeUTF8(ttf, std::string(utf8).c_str(), &width, nullptr) != 0) width = 0;
  return width;
}

int TextRenderer::LineHeight(const CaptionFont& font) {
  TTF_Font* ttf = Open(font);
  return ttf ? TTF_FontLineSkip(ttf) : 0;
}

}  // namespace vlmr::skin
