// The launcher's own message boxes, headless: laid out and painted onto a
// plain surface and compared with the CJK font's own rendering, and as real
// box windows under SDL's offscreen driver, answering keys, clicks and the
// close button pushed into SDL's event queue.
#include "skin/message_box_window.h"

#include <SDL2/SDL_ttf.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codepage.h"
#include "runtime/rt_heap.h"
#include "runtime/window_system.h"
#include "skin/font_finder.h"
#include "skin/message_box_painter.h"
#include "skin/toolkit.h"
#include "skin_test_support.h"
#include "support/sdl_clicks.h"

namespace vlmr::skin {
namespace {

using namespace rt::literals;

constexpr const char* kFailure = "网络连接失败,请重试";

std::string Gbk(const std::string& utf8) { return platform::Utf8ToGbk(utf8); }

// Columns of `area` in which `surface` has ink: a pixel darker than mid-grey.
std::vector<int> InkColumns(SDL_Surface* surface, SDL_Rect area) {
  std::vector<int> columns;
  for (int x = area.x; x < area.x + area.w; ++x) {
    for (int y = area.y; y < area.y + area.h; ++y) {
      if ((test::PixelRgba(surface, x, y) >> 8 & 0xFF) < 128) {
        columns.push_back(x - area.x);
        break;
      }
    }
  }
  return columns;
}

class MessageBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    test::UseOffscreenVideo();
    ASSERT_TRUE(OpenToolkitCore());
  }
  void TearDown() override { SDL_FreeSurface(surface_); }

  BoxLayout LaidOut(const std::string& gbkText, int32_t flags) {
    auto layout = LayOutBox(ContentOf(gbkText.c_str(), flags, "错误"_t), text_);
    return layout ? *layout : BoxLayout{};
  }
  // Paints the box onto surface_ as its window would show it.
  void Paint(const BoxLayout& layout) {
    surface_ =
        SDL_CreateRGBSurfaceWithFormat(0, layout.width, layout.height, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface_);
    PaintBox(renderer, text_, layout, -1);
    SDL_DestroyRenderer(renderer);
  }

  TextRenderer text_;
  SDL_Surface* surface_ = nullptr;
};

TEST_F(MessageBoxTest, ItsTextIsDrawnWithTheGlyphsOfTheCjkFont) {
  BoxLayout layout = LaidOut(Gbk(kFailure), rt::kMbRetryCancel | rt::kMbIconError);
  ASSERT_EQ(layout.lines.size(), 1u);
  Paint(layout);
  auto file = FindCjkFont();
  ASSERT_TRUE(file);
  TTF_Font* font = TTF_OpenFontIndex(file->path.c_str(), kBoxFont.pixelSize, file->index);
  ASSERT_NE(font, nullptr);
  int width = 0;
  TTF_SizeUTF8(font, kFailure, &width, nullptr);
  SDL_Surface* shaded = TTF_RenderUTF8_Shaded(font, kFailure, {0, 0, 0, 255}, {255, 255, 255, 255});
  SDL_Surface* reference = SDL_ConvertSurfaceFormat(shaded, SDL_PIXELFORMAT_RGBA32, 0);
  std::vector<int> expected = InkColumns(reference, {0, 0, reference->w, reference->h});
  SDL_FreeSurface(reference);
  SDL_FreeSurface(shaded);
  TTF_CloseFont(font);

  EXPECT_EQ(layout.lines[0].area.w, width);
  std::vector<int> drawn = InkColumns(surface_, layout.lines[0].area);
  ASSERT_FALSE(drawn.empty());
  EXPECT_NEAR(drawn.front(), expected.front(), 1);
  EXPECT_NEAR(drawn.back(), expected.back(), 1);
  EXPECT_NEAR(drawn.size(), expected.size(), 3);
  for (const auto& button : layout.buttons) EXPECT_FALSE(InkColumns(surface_, button.area).empty());
  EXPECT_EQ(test::PixelRgba(surface_, layout.iconArea.x + 16, layout.iconArea.y + 2), 0xE81123FFu);
}

TEST_F(MessageBoxTest, TextWrapsWithinItsWidthAndKeepsItsLineBreaks) {
  std::string row;  // as many characters as fit on one line
  while (text_.Width(row + "中", kBoxFont) <= kBoxTextWidth) row += "中";
  std::string rowButOne = row.substr(0, row.size() - std::string("中").size());
  for (const auto& [text, lines] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"第一行\r\n第二行\n\n第四行", {"第一行", "第二行", "", "第四行"}},
           {row + "，中中", {rowButOne, "中，中中"}}}) {  // a comma never starts a line
    std::vector<std::string> laidOut;
    for (const auto& line : LaidOut(Gbk(text), rt::kMbOk).lines) laidOut.push_back(line.utf8);
    EXPECT_EQ(laidOut, lines);
  }
  std::string latin =
      "The update server did not answer in time, please check the network and try again.";
  BoxLayout layout = LaidOut(Gbk(latin + " " + latin), rt::kMbOk);
  std::string rejoined;
  for (const auto& line : layout.lines) {
    EXPECT_LE(line.area.w, kBoxTextWidth);
    rejoined += (rejoined.empty() ? "" : " ") + line.utf8;
  }
  EXPECT_GT(layout.lines.size(), 1u);
  EXPECT_EQ(rejoined, latin + " " + latin);  // broken at spaces, between words
}

TEST_F(MessageBoxTest, AnswersReturnEscapeItsButtonsAndItsCloseButton) {
  enum Input { Return, Escape, Close, ClickSecond, SlideOffThenEscape };
  struct Case {
    int32_t flags;
    Input input;
    int32_t answer;
  };
  for (const Case& c :
       std::vector<Case>{{rt::kMbYesNo, Return, rt::kBoxYes},
                         {rt::kMbYesNoCancel, Escape, rt::kBoxCancel},
                         {rt::kMbYesNo, Escape, rt::kBoxNo},
                         {rt::kMbOk, Escape, rt::kBoxOk},
                         {rt::kMbRetryCancel, Close, rt::kBoxCancel},
                         {rt::kMbAbortRetryIgnore, ClickSecond, rt::kBoxRetry},
                         {rt::kMbYesNoCancel, SlideOffThenEscape, rt::kBoxCancel}}) {
    SCOPED_TRACE(testing::Message() << "flags " << c.flags << " input " << c.input);
    auto box = BoxWindow::Open(ContentOf("text"_t, c.flags, "错误"_t), nullptr);
    ASSERT_TRUE(box);
    EXPECT_STREQ(SDL_GetWindowTitle(SDL_GetWindowFromID(box->NativeId())), "错误");
    uint32_t id = box->NativeId();
    const auto& buttons = box->layout().buttons;
    // The second button; the only one in a box of one.
    SDL_Rect first = buttons.front().area, second = buttons.at(1 % buttons.size()).area;
    switch (c.input) {
      case Return: test::PushKeyPress(id, SDLK_RETURN); break;
      case Escape: test::PushKeyPress(id, SDLK_ESCAPE); break;
      case Close: test::PushCloseButton(id); break;
      case ClickSecond: test::PushLeftClick(id, second.x + 5, second.y + 5); break;
      case SlideOffThenEscape:  // pressed on the first button, released on the second
        test::PushLeftDrag(id, first.x + 5, first.y + 5, second.x + 5, second.y + 5);
        test::PushKeyPress(id, SDLK_ESCAPE);
        break;
    }
    EXPECT_EQ(box->Run(nullptr), c.answer);
  }
}

}  // namespace
}  // namespace vlmr::skin
