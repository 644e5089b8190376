#include "skin/message_box_painter.h"

#include <cmath>

namespace vlmr::skin {
namespace {

constexpr SDL_Color kTextArea{255, 255, 255, 255};
constexpr SDL_Color kStrip{240, 240, 240, 255};
constexpr SDL_Color kInk{0, 0, 0, 255};
constexpr SDL_Color kButtonFace{225, 225, 225, 255};
constexpr SDL_Color kButtonPressed{204, 228, 247, 255};
constexpr SDL_Color kButtonFrame{173, 173, 173, 255};
constexpr SDL_Color kDefaultFrame{0, 120, 215, 255};
constexpr CaptionFont kIconFont{22, true, false};

struct IconLook {
  SDL_Color fill;
  SDL_Color ink;
  const char* glyph;  // UTF-8
  bool triangle;
};

IconLook LookOf(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Error: return {{232, 17, 35, 255}, {255, 255, 255, 255}, "×", false};
    case BoxIcon::Warning: return {{255, 185, 0, 255}, kInk, "!", true};
    case BoxIcon::Question: return {{0, 99, 177, 255}, {255, 255, 255, 255}, "?", false};
    default: return {{0, 99, 177, 255}, {255, 255, 255, 255}, "i", false};
  }
}

void SetColour(SDL_Renderer* renderer, SDL_Color c) {
  SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, c.a);
}

void FillRect(SDL_Renderer* renderer, const SDL_Rect& area, SDL_Color colour) {
  SetColour(renderer, colour);
  SDL_RenderFillRect(renderer, &area);
}

// Text in `colour`, centred in `box`.
void DrawText(SDL_Renderer* renderer, TextRenderer& text, std::string_view utf8,
              const CaptionFont& font, SDL_Color colour, const SDL_Rect& box) {
  SDL_Surface* surface = text.RenderWhite(utf8, font);
  if (!surface) return;
  if (SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface)) {
    SDL_SetTextureColorMod(texture, colour.r, colour.g, colour.b);
    SDL_Rect where{box.x + (box.w - surface->w) / 2, box.y + (box.h - surface->h) / 2, surface->w,
                   surface->h};
    SDL_RenderCopy(renderer, texture, nullptr, &where);
    SDL_DestroyTexture(texture);
  }
  SDL_FreeSurface(surface);
}

// A disc or an upward triangle filling `area`, one row at a time.
void FillIconShape(SDL_Renderer* renderer, const SDL_Rect& area, bool triangle) {
  double radius = area.w / 2.0;
  for (int row = 0; row < area.h; ++row) {
    double half = triangle
                      ? radius * (row + 1) / area.h
                      : std::sqrt(std::max(0.0, radius * radius - std::pow(row + 0.5 - radius, 2)));
    int from = area.x + static_cast<int>(std::lround(radius - half));
    int to = area.x + static_cast<int>(std::lround(radius + half)) - 1;
    SDL_RenderDrawLine(renderer, from, area.y + row, to, area.y + row);
  }
}

void PaintIcon(SDL_Renderer* renderer, TextRenderer& text, const BoxLayout& layout) {
  if (layout.icon == BoxIcon::None) return;
  IconLook look = LookOf(layout.icon);
  SetColour(renderer, look.fill);
  FillIconShape(renderer, layout.iconArea, look.triangle);
  SDL_Rect glyphArea = layout.iconArea;
  if (look.triangle) glyphArea.y += glyphArea.h / 8;  // the triangle's middle sits low
  DrawText(renderer, text, look.glyph, kIconFont, look.ink, glyphArea);
}

void PaintButton(SDL_Renderer* renderer, TextRenderer& text, const BoxLayout::Button& button,
                 bool isDefault, bool pressed) {
  FillRect(renderer, button.area, isDefault ? kDefaultFrame : kButtonFrame);
  SDL_Rect face{button.area.x + 1, button.area.y + 1, button.area.w - 2, button.area.h - 2};
  if (isDefault) face = {face.x + 1, face.y + 1, face.w - 2, face.h - 2};
  FillRect(renderer, face, pressed ? kButtonPressed : kButtonFace);
  DrawText(renderer, text, button.label, kBoxFont, kInk, button.area);
}

}  // namespace

void PaintBox(SDL_Renderer* renderer, TextRenderer& text, const BoxLayout& layout, int pressed) {
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  FillRect(renderer, {0, 0, layout.width, layout.stripTop}, kTextArea);
  FillRect(renderer, {0, layout.stripTop, layout.width, layout.height - layout.stripTop}, kStrip);
  PaintIcon(renderer, text, layout);
  for (const auto& line : layout.lines)
    DrawText(renderer, text, line.utf8, kBoxFont, kInk, line.area);
  for (size_t i = 0; i < layout.buttons.size(); ++i) {
    PaintButton(renderer, text, layout.buttons[i], i == 0, static_cast<int>(i) == pressed);
  }
}

}  // namespace vlmr::skin
