// The SDL window system against a small window of every kind, headless:
// clicks arrive through SDL's event queue, pictures are read back from the
// renderer.
#include "skin/sdl_window_system.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/rt_blocks.h"
#include "runtime/rt_heap.h"
#include "runtime/rt_value.h"
#include "skin/message_box_window.h"
#include "skin/property_data.h"
#include "skin_test_support.h"
#include "support/sdl_clicks.h"

namespace vlmr::skin {
namespace {

using namespace rt::literals;

constexpr uint32_t kWindow = 0x52019999;
constexpr uint32_t kPanel = 0x16019001, kBox = 0x16019002, kButton = 0x16019003,
                   kLabel = 0x16019004, kBar = 0x16019005, kBack = 0x16019006;
constexpr uint32_t kGrey = 0x808080FF, kGreen = 0x00FF00FF, kBlue = 0x0000FFFF,
                   kWhite = 0xFFFFFFFF, kBlack = 0x000000FF, kRed = 0xFF0000FF;

std::vector<uint8_t> Data(PropertySet set) { return set.Encode(); }

PropertySet WithSkin(Kind kind, int slot, std::string png) {
  PropertySet set(kind);
  set.SetBytes(slot, png);
  return set;
}

WindowDescription TestWindow(std::vector<std::pair<uint32_t, int32_t>>* events,
                             std::function<void(uint32_t)> onClick) {
  WindowDescription window;
  window.id = kWindow;
  window.title = "test";
  window.width = 320;
  window.height = 200;
  PropertySet box(Kind::ChoiceboxEx);
  box.SetBytes(own::kCheckedSkin, test::SolidPng(14, 14, kWhite));
  box.SetBytes(own::kUncheckedSkin, test::SolidPng(14, 14, kBlack));
  PropertySet label(Kind::LabelEx);
  label.SetNumber(own::kLabelColour, static_cast<int32_t>(0xFFFFFFFF));
  label.SetBytes(own::kFont, EncodeCaptionFont({16, true, false}));
  PropertySet bar(Kind::ProgressbarEx);
  bar.SetBytes(own::kTrackSkin, test::SolidPng(200, 10, kBlack));
  bar.SetBytes(own::kFillSkin, test::SolidPng(200, 10, kRed));
  PropertySet back = WithSkin(Kind::WindowEx, own::kSkin, test::SolidPng(320, 200, kGrey));
  back.SetNumber(own::kWindowFillParent, 1);
  window.controls = {
      {"box", kBox, Kind::ChoiceboxEx, 5, 5, 80, 20, kPanel, Data(box)},
      {"panel", kPanel, Kind::WindowEx, 10, 10, 200, 100, 0,
       Data(WithSkin(Kind::WindowEx, own::kSkin, test::SolidPng(200, 100, kGreen)))},
      {"button", kButton, Kind::ButtonEx, 250, 10, 60, 30, 0,
       Data(WithSkin(Kind::ButtonEx, own::kSkin, test::SolidPng(60, 30, kBlue)))},
      {"label", kLabel, Kind::LabelEx, 220, 60, 100, 30, 0, Data(label)},
      {"bar", kBar, Kind::ProgressbarEx, 10, 150, 200, 10, 0, Data(bar)},
      {"back", kBack, Kind::WindowEx, 0, 0, 4, 4, 0, Data(back)},
  };
  window.dispatch = [events, onClick](uint32_t control, int32_t event, const EventArgs&) {
    events->push_back({control, event});
    if (onClick && event == 0) onClick(control);
    return 0;
  };
  return window;
}

class SkinWindow : public testing::Test {
 protected:
  void SetUp() override {
    test::UseOffscreenVideo();
    windows_.RegisterWindow(TestWindow(&events_, [this](uint32_t c) { if (onClick_) onClick_(c); }));
    ASSERT_TRUE(windows_.LoadWindow(kWindow));
    events_.clear();
  }

  uint32_t Pixel(int x, int y) {
    auto picture = windows_.Capture(kWindow);
    return picture ? picture->PixelRgba(x, y) : 0;
  }
  void Set(uint32_t control, int32_t slot, uint64_t value) {
    windows_.SetProperty(kWindow, control, slot, -1, static_cast<uint32_t>(value),
                         static_cast<uint32_t>(value >> 32));
  }
  int32_t Get(uint32_t control, int32_t slot) {
    return static_cast<int32_t>(windows_.GetProperty(kWindow, control, slot, -1));
  }
  // Sum of the label area's red channel: changes when its text does.
  uint64_t LabelInk() {
    auto picture = windows_.Capture(kWindow);
    uint64_t sum = 0;
    for (int y = 60; y < 90; ++y) {
      for (int x = 220; x < 320; ++x) sum += picture->PixelRgba(x, y) >> 24;
    }
    return sum;
  }

  SdlWindowSystem windows_;
  std::vector<std::pair<uint32_t, int32_t>> events_;
  std::function<void(uint32_t)> onClick_;
};

TEST_F(SkinWindow, DrawsEveryControlAtItsPlace) {
  EXPECT_EQ(Pixel(2, 2), kGrey);        // the background fills the window
  EXPECT_EQ(Pixel(12, 12), kGreen);     // panel at (10, 10)
  EXPECT_EQ(Pixel(20, 22), kBlack);     // its child box at (5, 5) inside it, unticked
  EXPECT_EQ(Pixel(255, 15), kBlue);     // button
  EXPECT_EQ(Pixel(15, 155), kBlack);    // empty progress bar
  EXPECT_TRUE(windows_.IsWindowLoaded(kWindow));
  EXPECT_TRUE(windows_.HasControl(kWindow, kBox));
  EXPECT_FALSE(windows_.HasControl(kWindow, 0x16010001));
  EXPECT_EQ(windows_.ControlName(kWindow, kButton), "button");
}

TEST_F(SkinWindow, CreationEventRunsOnceBeforeTheWindowIsShown) {
  SdlWindowSystem other;
  std::vector<std::pair<uint32_t, int32_t>> events;
  bool shownAtCreation = true;
  WindowDescription description = TestWindow(&events, nullptr);
  description.dispatch = [&](uint32_t control, int32_t event, const EventArgs&) {
    events.push_back({control, event});
    SDL_Window* native = SDL_GetWindowFromID(other.NativeWindowId(kWindow));
    shownAtCreation = (SDL_GetWindowFlags(native) & SDL_WINDOW_SHOWN) != 0;
    return 0;
  };
  other.RegisterWindow(std::move(description));
  ASSERT_TRUE(other.LoadWindow(kWindow));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], std::make_pair(rt::kWindowUnitId, 0));
  EXPECT_FALSE(shownAtCreation);
  EXPECT_TRUE(SDL_GetWindowFlags(SDL_GetWindowFromID(other.NativeWindowId(kWindow))) &
              SDL_WINDOW_SHOWN);
  other.SendWindowMessage(kWindow, rt::kWmClose, 0, 0);
}

TEST_F(SkinWindow, AClickReachesEventZeroOfTheControlUnderThePointer) {
  test::ClickAt(windows_, kWindow, 260, 20);
  test::ClickAt(windows_, kWindow, 300, 150);  // the background: a control without a handler
  ASSERT_FALSE(events_.empty());
  EXPECT_EQ(events_.front(), std::make_pair(kButton, 0));
  EXPECT_EQ(std::count(events_.begin(), events_.end(), std::make_pair(kButton, 0)), 1);
}

TEST_F(SkinWindow, ADisabledButtonRaisesNothingUntilEnabledAgain) {
  Set(kButton, 9, 1);
  test::ClickAt(windows_, kWindow, 260, 20);
  EXPECT_TRUE(events_.empty());
  Set(kButton, 9, 0);
  test::ClickAt(windows_, kWindow, 260, 20);
  EXPECT_EQ(events_, (std::vector<std::pair<uint32_t, int32_t>>{{kButton, 0}}));
}

TEST_F(SkinWindow, AChoiceBoxIsToggledBeforeItsClickIsRaised) {
  std::vector<int32_t> seen;
  onClick_ = [&](uint32_t control) {
    if (control == kBox) seen.push_back(Get(kBox, 16));
  };
  test::ClickAt(windows_, kWindow, 20, 22);
  test::ClickAt(windows_, kWindow, 20, 22);
  EXPECT_EQ(seen, (std::vector<int32_t>{1, 0}));
}

TEST_F(SkinWindow, WritingCheckedRedrawsTheBoxAndRaisesNoEvent) {
  Set(kBox, 16, 1);
  EXPECT_EQ(Pixel(20, 22), kWhite);
  Set(kBox, 16, 1);
  windows_.ProcessPendingMessages();
  EXPECT_EQ(Get(kBox, 16), 1);
  EXPECT_TRUE(events_.empty());
}

TEST_F(SkinWindow, AHiddenContainerHidesAndShieldsItsChildren) {
  Set(kBox, 16, 1);
  Set(kPanel, 8, 0);
  EXPECT_EQ(Get(kPanel, 8), 0);
  EXPECT_EQ(Pixel(20, 22), kGrey);
  test::ClickAt(windows_, kWindow, 20, 22);
  EXPECT_TRUE(events_.empty());
  Set(kPanel, 8, 1);
  EXPECT_EQ(Pixel(20, 22), kWhite);  // shown again in its current state
  EXPECT_EQ(Get(kBox, 16), 1);
}

TEST_F(SkinWindow, LabelTextIsRedrawnAndAnEmptyTextClearsIt) {
  uint64_t blank = LabelInk();
  Set(kLabel, 20, reinterpret_cast<uintptr_t>("状态"_t));
  uint64_t written = LabelInk();
  EXPECT_GT(written, blank);
  rt::Text back(reinterpret_cast<char*>(windows_.GetProperty(kWindow, kLabel, 20, -1)));
  EXPECT_EQ(back.view(), "\xd7\xb4\xcc\xac");  // GBK
  Set(kLabel, 20, 0);  // the empty text is a null pointer
  EXPECT_EQ(LabelInk(), blank);
}

TEST_F(SkinWindow, ProgressPositionFillsTheBarFromTheLeft) {
  Set(kBar, 16, 50);
  EXPECT_EQ(Pixel(100, 155), kRed);
  EXPECT_EQ(Pixel(150, 155), kBlack);
  Set(kBar, 16, 100);
  EXPECT_EQ(Pixel(208, 155), kRed);
  Set(kBar, 16, 0);
  EXPECT_EQ(Pixel(11, 155), kBlack);
  Set(kBar, 16, 250);  // beyond the range: drawn full
  EXPECT_EQ(Pixel(208, 155), kRed);
}

TEST_F(SkinWindow, WritesFromAnotherThreadArriveWithOneRedrawQueued) {
  // Twice: a redraw asked for while the queue is handled waits for the next round.
  windows_.ProcessPendingMessages();
  windows_.ProcessPendingMessages();
  ASSERT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_USEREVENT, SDL_LASTEVENT), 0);
  std::thread worker([this] {
    for (int i = 0; i <= 100; ++i) {
      Set(kBar, 16, i);
      Set(kLabel, 20, reinterpret_cast<uintptr_t>(i % 2 ? "1"_t : "22"_t));
    }
  });
  worker.join();
  EXPECT_EQ(Get(kBar, 16), 100);
  // Two hundred writes, one pending redraw: the worker never waited for the UI.
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_USEREVENT, SDL_LASTEVENT), 1);
  windows_.ProcessPendingMessages();
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_USEREVENT, SDL_LASTEVENT), 0);
  EXPECT_EQ(Pixel(208, 155), kRed);
}

TEST_F(SkinWindow, AMessageBoxFromAWorkerWaitsForTheUiThreadAndTakesTheDefault) {
  auto answer = std::async(std::launch::async, [this] {
    return windows_.ShowMessageBox("text"_t, rt::kMbYesNo, "caption"_t);
  });
  EXPECT_EQ(answer.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
    windows_.ProcessPendingMessages();
  }
  EXPECT_EQ(answer.get(), rt::kBoxYes);
  EXPECT_EQ(windows_.ShowMessageBox("text"_t, rt::kMbOk, "caption"_t), rt::kBoxOk);
}

TEST_F(SkinWindow, AnOpenBoxIsCentredOverTheWindowKeepsItDrawnAndTakesItsClicksAway) {
  SDL_Window* parent = SDL_GetWindowFromID(windows_.NativeWindowId(kWindow));
  SDL_SetWindowPosition(parent, 40, 30);
  auto box =
      BoxWindow::Open(ContentOf("text"_t, rt::kMbYesNo, "caption"_t), windows_.ParentForBox());
  ASSERT_TRUE(box);
  Set(kBar, 16, 100);  // drawn only while the box's loop runs
  test::PushLeftClick(windows_.NativeWindowId(kWindow), 260, 20);  // the button under the box
  test::PushCloseButton(windows_.NativeWindowId(kWindow));
  test::PushKeyPress(box->NativeId(), SDLK_RETURN);
  EXPECT_EQ(box->Run(&windows_), rt::kBoxYes);
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(windows_.IsOpen(kWindow));
  EXPECT_EQ(test::ShownPixel(windows_, kWindow, 208, 155), kRed);
  SDL_Point shown{};
  SDL_GetWindowPosition(SDL_GetWindowFromID(box->NativeId()), &shown.x, &shown.y);
  EXPECT_NEAR(shown.x + box->layout().width / 2, 40 + 320 / 2, 1);
  EXPECT_NEAR(shown.y + box->layout().height / 2, 30 + 200 / 2, 1);
}

TEST_F(SkinWindow, MinimiseCommandIgnoresTheLowFourBits) {
  EXPECT_FALSE(windows_.IsMinimised(kWindow));
  windows_.SendWindowMessage(kWindow, rt::kWmSysCommand, 0xF021, 0);
  EXPECT_TRUE(windows_.IsMinimised(kWindow));
  EXPECT_TRUE(windows_.IsOpen(kWindow));
}

TEST_F(SkinWindow, CloseFromAClickHandlerEndsTheLoopAndLaterWritesAreDropped) {
  onClick_ = [this](uint32_t control) {
    if (control == kButton) windows_.SendWindowMessage(kWindow, rt::kWmClose, 0, 0);
  };
  SDL_Event down{}, up{};
  down.type = SDL_MOUSEBUTTONDOWN;
  down.button = {SDL_MOUSEBUTTONDOWN, 0, windows_.NativeWindowId(kWindow), 0, SDL_BUTTON_LEFT,
                 SDL_PRESSED, 1, 0, 260, 20};
  up = down;
  up.type = up.button.type = SDL_MOUSEBUTTONUP;
  up.button.state = SDL_RELEASED;
  SDL_PushEvent(&down);
  SDL_PushEvent(&up);
  windows_.RunMessageLoop();  // returns once the last window is gone
  EXPECT_FALSE(windows_.IsOpen(kWindow));
  EXPECT_TRUE(windows_.IsWindowLoaded(kWindow));
  Set(kLabel, 20, reinterpret_cast<uintptr_t>("late"_t));
  EXPECT_EQ(Get(kBar, 16), 0);
}

TEST_F(SkinWindow, MovingAHostMakesItsControlFollow) {
  Set(kButton, 0, 230);  // common property 0: left
  EXPECT_EQ(Get(kButton, 0), 230);
  EXPECT_EQ(Get(kButton, 2), 60);  // the width stays
  EXPECT_EQ(Pixel(232, 15), kBlue);
  EXPECT_EQ(Pixel(300, 15), kGrey);
  Set(kButton, 5, 0);  // common property 5: visible
  EXPECT_EQ(Get(kButton, 5), 0);
  EXPECT_EQ(Pixel(232, 15), kGrey);
}

}  // namespace
}  // namespace vlmr::skin
