#include "skin/message_box_layout.h"

#include <algorithm>

#include "skin/text_wrap.h"

namespace vlmr::skin {
namespace {

constexpr int kMargin = 20;  // around the text area and the button row
constexpr int kIconSize = 32;
constexpr int kIconGap = 12;  // between the icon and the text
constexpr int kButtonHeight = 28;
constexpr int kButtonMinWidth = 80;
constexpr int kButtonPadding = 12;  // on each side of a button's label
constexpr int kButtonGap = 8;
constexpr int kStripPadding = 12;  // above and below the button row
constexpr int kMinWidth = 260;     // leaves the title bar room for a short caption

// Places the wrapped lines from (left, top); returns the height they take.
int PlaceLines(BoxLayout& layout, const std::string& utf8, TextRenderer& text, int left, int top) {
  int lineHeight = text.LineHeight(kBoxFont);
  auto width = [&](std::string_view line) { return text.Width(line, kBoxFont); };
  int y = top;
  for (std::string& line : WrapText(utf8, kBoxTextWidth, width)) {
    SDL_Rect area{left, y, width(line), lineHeight};
    layout.lines.push_back({std::move(line), area});
    y += lineHeight;
  }
  return y - top;
}

// The icon and the text beside it; returns the height of the text area.
int PlaceTextArea(BoxLayout& layout, const BoxContent& content, TextRenderer& text) {
  layout.icon = content.icon;
  bool hasIcon = content.icon != BoxIcon::None;
  int textLeft = kMargin + (hasIcon ? kIconSize + kIconGap : 0);
  int textHeight = PlaceLines(layout, content.text, text, textLeft, kMargin);
  int areaHeight = std::max(textHeight, hasIcon ? kIconSize : 0);
  // Text shorter than the icon is centred beside it.
  for (auto& line : layout.lines) line.area.y += (areaHeight - textHeight) / 2;
  if (hasIcon)
    layout.iconArea = {kMargin, kMargin + (areaHeight - kIconSize) / 2, kIconSize, kIconSize};
  return areaHeight;
}

int TextRight(const BoxLayout& layout) {
  int right = 0;
  for (const auto& line : layout.lines) right = std::max(right, line.area.x + line.area.w);
  return right;
}

// The buttons' sizes, left to right from x = 0; returns the row's width.
int SizeButtons(BoxLayout& layout, const std::vector<BoxButton>& buttons, TextRenderer& text) {
  int x = 0;
  for (const BoxButton& button : buttons) {
    int w = std::max(kButtonMinWidth, text.Width(button.label, kBoxFont) + 2 * kButtonPadding);
    if (x > 0) x += kButtonGap;
    layout.buttons.push_back({button.answer, button.label, {x, 0, w, kButtonHeight}});
    x += w;
  }
  return x;
}

// Moves the sized row to the right of the strip.
void PlaceButtonRow(BoxLayout& layout, int rowWidth) {
  int rowLeft = layout.width - kMargin - rowWidth;
  for (auto& button : layout.buttons) {
    button.area.x += rowLeft;
    button.area.y = layout.stripTop + kStripPadding;
  }
}

}  // namespace

std::optional<BoxLayout> LayOutBox(const BoxContent& content, TextRenderer& text) {
  if (text.LineHeight(kBoxFont) <= 0) return std::nullopt;
  BoxLayout layout;
  int areaHeight = PlaceTextArea(layout, content, text);
  int rowWidth = SizeButtons(layout, content.buttons, text);
  layout.width = std::max({kMinWidth, TextRight(layout) + kMargin, rowWidth + 2 * kMargin});
  layout.stripTop = kMargin + areaHeight + kMargin;
  layout.height = layout.stripTop + kStripPadding + kButtonHeight + kStripPadding;
  PlaceButtonRow(layout, rowWidth);
  return layout;
}

int ButtonAt(const BoxLayout& layout, int x, int y) {
  SDL_Point point{x, y};
  for (size_t i = 0; i < layout.buttons.size(); ++i) {
    if (SDL_PointInRect(&point, &layout.buttons[i].area)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace vlmr::skin
