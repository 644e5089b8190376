// The real launcher window, headless: every control at its place and of its
// kind, the first state, clicks routed to the handlers of the event table,
// the start button's disabled state and writes from a worker thread.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "app/launcher_form.h"
#include "app/launcher_startup.h"
#include "platform/codepage.h"
#include "runtime/control_properties.h"
#include "runtime/launcher_ids.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "support/real_launcher_window.h"

namespace vlmr::test {
namespace {

namespace ids = rt::ids;
using namespace rt::literals;
using skin::Kind;

constexpr uint32_t kWindow = ids::kLauncherWindow;
constexpr uint32_t kPanel = ids::kSettingsPanel;

struct Expected {
  const char* name;
  uint32_t id;
  Kind kind;
  int left, top, width, height;
  uint32_t parent;
};

// The window's controls in form order, as the launcher must have them.
const Expected kControls[] = {
    {"选择框_旧版", 0x16018D7A, Kind::ChoiceboxEx, 200, 228, 114, 20, kPanel},
    {"选择框_新版", 0x16018D7B, Kind::ChoiceboxEx, 200, 250, 74, 20, kPanel},
    {"按钮EX10", 0x1601012C, Kind::ButtonEx, 112, 340, 70, 22, kPanel},
    {"按钮EX9", 0x1601012B, Kind::ButtonEx, 35, 340, 70, 22, kPanel},
    {"选择框EX20", 0x16010068, Kind::ChoiceboxEx, 372, 311, 120, 20, kPanel},
    {"选择框EX21", 0x16010069, Kind::ChoiceboxEx, 372, 290, 120, 20, kPanel},
    {"选择框EX18", 0x16010064, Kind::ChoiceboxEx, 372, 248, 120, 20, kPanel},
    {"选择框EX19", 0x16010065, Kind::ChoiceboxEx, 372, 269, 120, 20, kPanel},
    {"选择框EX16", 0x16010060, Kind::ChoiceboxEx, 372, 168, 120, 20, kPanel},
    {"选择框EX17", 0x16010061, Kind::ChoiceboxEx, 372, 189, 120, 20, kPanel},
    {"选择框EX14", 0x1601005E, Kind::ChoiceboxEx, 372, 88, 120, 20, kPanel},
    {"选择框EX15", 0x1601005F, Kind::ChoiceboxEx, 372, 109, 120, 20, kPanel},
    {"选择框EX9", 0x16010059, Kind::ChoiceboxEx, 200, 88, 120, 20, kPanel},
    {"选择框EX10", 0x1601005A, Kind::ChoiceboxEx, 200, 109, 120, 20, kPanel},
    {"选择框EX11", 0x1601005B, Kind::ChoiceboxEx, 200, 130, 120, 20, kPanel},
    {"选择框EX12", 0x1601005C, Kind::ChoiceboxEx, 200, 151, 120, 20, kPanel},
    {"选择框EX13", 0x1601005D, Kind::ChoiceboxEx, 200, 172, 120, 20, kPanel},
    {"选择框EX8", 0x16010058, Kind::ChoiceboxEx, 35, 296, 239, 20, kPanel},
    {"选择框EX7", 0x16010057, Kind::ChoiceboxEx, 35, 248, 120, 20, kPanel},
    {"选择框EX6", 0x16010055, Kind::ChoiceboxEx, 35, 227, 120, 20, kPanel},
    {"选择框EX5", 0x16010056, Kind::ChoiceboxEx, 35, 206, 120, 20, kPanel},
    {"选择框EX4", 0x16010051, Kind::ChoiceboxEx, 35, 185, 120, 20, kPanel},
    {"选择框EX3", 0x16010052, Kind::ChoiceboxEx, 35, 164, 120, 20, kPanel},
    {"选择框EX1", 0x1601004C, Kind::ChoiceboxEx, 35, 88, 120, 20, kPanel},
    {"选择框EX2", 0x1601004D, Kind::ChoiceboxEx, 35, 109, 120, 20, kPanel},
    {"窗口EX2", 0x16010046, Kind::WindowEx, -10, 21, 700, 400, 0},
    {"图片框EX1", 0x16010019, Kind::PictureBoxEx, 68, 414, 54, 50, 0},
    {"标签EX2", 0x16010011, Kind::LabelEx, 1, 455, 114, 26, 0},
    {"进度条EX1", 0x16010010, Kind::ProgressbarEx, 120, 456, 480, 14, 0},
    {"标签EX1", 0x1601000F, Kind::LabelEx, 5, 423, 63, 33, 0},
    {"按钮_游戏开始", 0x1601000E, Kind::ButtonEx, 604, 428, 71, 45, 0},
    {"按钮EX7", 0x1601000C, Kind::ButtonEx, 432, 430, 69, 20, 0},
    {"按钮EX6", 0x1601000B, Kind::ButtonEx, 516, 430, 69, 20, 0},
    {"按钮EX5", 0x1601000A, Kind::ButtonEx, 348, 430, 69, 20, 0},
    {"按钮EX4", 0x16010009, Kind::ButtonEx, 264, 430, 69, 20, 0},
    {"按钮EX2", 0x16010005, Kind::ButtonEx, 652, 6, 14, 14, 0},
    {"按钮EX1", 0x16010004, Kind::ButtonEx, 629, 6, 14, 14, 0},
    {"窗口EX1", 0x16010002, Kind::WindowEx, -4, 4, 24, 24, 0},
};

class LauncherWindow : public RealLauncherWindow {
 protected:
  // Loads the window with every control's click recorded.
  void LoadRecording() {
    app::EventTable events;
    events.windowCreated = [this] { ++created_; };
    for (const auto& c : kControls) {
      events.clicks[c.id] = [this, id = c.id] { clicked_.push_back(id); };
    }
    Open(std::move(events));
  }

  int created_ = 0;
  std::vector<uint32_t> clicked_;
};

TEST_F(LauncherWindow, HoldsThe38ControlsInFormOrderWithTheirKindsAndParents) {
  skin::WindowDescription form = app::LauncherWindowDescription({});
  ASSERT_EQ(form.controls.size(), std::size(kControls));
  for (size_t i = 0; i < form.controls.size(); ++i) {
    const auto& actual = form.controls[i];
    const auto& expected = kControls[i];
    SCOPED_TRACE(expected.name);
    EXPECT_EQ(platform::GbkToUtf8(actual.name), expected.name);
    EXPECT_EQ(actual.id, expected.id);
    EXPECT_EQ(actual.kind, expected.kind);
    EXPECT_EQ(actual.parentId, expected.parent);
  }
}

TEST_F(LauncherWindow, PlacesEveryControlAndTitlesTheFixedCentredWindow) {
  LoadRecording();
  EXPECT_EQ(created_, 1);
  for (const auto& c : kControls) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(static_cast<int32_t>(rt::get_property(kWindow, c.id, 0, -1)), c.left);
    EXPECT_EQ(static_cast<int32_t>(rt::get_property(kWindow, c.id, 1, -1)), c.top);
    EXPECT_EQ(static_cast<int32_t>(rt::get_property(kWindow, c.id, 2, -1)), c.width);
    EXPECT_EQ(static_cast<int32_t>(rt::get_property(kWindow, c.id, 3, -1)), c.height);
  }
  SDL_Window* native = SDL_GetWindowFromID(windows().NativeWindowId(kWindow));
  EXPECT_STREQ(SDL_GetWindowTitle(native), "Vellmoor登录器");
  int w, h, x, y;
  SDL_GetWindowSize(native, &w, &h);
  EXPECT_EQ(w, 680);
  EXPECT_EQ(h, 479);
  EXPECT_FALSE(SDL_GetWindowFlags(native) & SDL_WINDOW_RESIZABLE);
  SDL_Rect screen;
  SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(native), &screen);
  SDL_GetWindowPosition(native, &x, &y);
  EXPECT_EQ(x, screen.x + (screen.w - 680) / 2);
  EXPECT_EQ(y, screen.y + (screen.h - 479) / 2);
}

TEST_F(LauncherWindow, StartsIdleWithThePanelHidden) {
  LoadRecording();
  EXPECT_FALSE(rt::GetControlBool(kWindow, kPanel, ids::kSlotVisible));
  EXPECT_EQ(rt::GetControlText(kWindow, ids::kStatusLabel, ids::kSlotText).view(),
            platform::Utf8ToGbk("请点击游戏开始"));
  EXPECT_EQ(rt::GetControlText(kWindow, ids::kPercentLabel, ids::kSlotText).view(), "0%");
  EXPECT_EQ(rt::GetControlInt(kWindow, ids::kProgressBar, ids::kSlotPosition), 0);
  EXPECT_FALSE(rt::GetControlBool(kWindow, ids::kStartButton, ids::kSlotDisabled));
  // Clicks where the panel's boxes would be reach nothing of the panel.
  Click(ids::kBoxWindowed);
  EXPECT_TRUE(std::none_of(clicked_.begin(), clicked_.end(),
                           [](uint32_t id) { return id == kPanel || id == ids::kBoxWindowed; }));
}

TEST_F(LauncherWindow, EachClickReachesTheHandlerOfThatControl) {
  LoadRecording();
  rt::SetControlBool(kWindow, kPanel, ids::kSlotVisible, true);
  for (const auto& c : kControls) {
    if (c.id == ids::kBackground) continue;  // a 24 x 24 corner under the frame
    SCOPED_TRACE(c.name);
    clicked_.clear();
    Click(c.id);
    EXPECT_EQ(clicked_, std::vector<uint32_t>{c.id});
  }
}

TEST_F(LauncherWindow, AChoiceBoxClickTicksItBeforeItsHandlerRuns) {
  bool seenTicked = false;
  app::EventTable events;
  events.clicks[ids::kBoxFiltering] = [&] {
    seenTicked = rt::GetControlBool(kWindow, ids::kBoxFiltering, ids::kSlotChecked);
  };
  Open(std::move(events));
  rt::SetControlBool(kWindow, kPanel, ids::kSlotVisible, true);
  Click(ids::kBoxFiltering);
  EXPECT_TRUE(seenTicked);
}

TEST_F(LauncherWindow, ADisabledStartButtonRaisesNothing) {
  LoadRecording();
  rt::SetControlBool(kWindow, ids::kStartButton, ids::kSlotDisabled, true);
  Click(ids::kStartButton);
  EXPECT_TRUE(clicked_.empty());
  rt::SetControlBool(kWindow, ids::kStartButton, ids::kSlotDisabled, false);
  Click(ids::kStartButton);
  EXPECT_EQ(clicked_, std::vector<uint32_t>{ids::kStartButton});
}

TEST_F(LauncherWindow, PropertyWritesFromAWorkerThreadArriveAndAreDrawn) {
  LoadRecording();
  auto before = windows().Capture(kWindow);
  std::thread worker([] {
    rt::SetControlBool(kWindow, ids::kStartButton, ids::kSlotDisabled, true);
    for (int percent = 0; percent <= 100; ++percent) {
      rt::SetControlInt(kWindow, ids::kProgressBar, ids::kSlotPosition, percent);
      rt::SetControlText(kWindow, ids::kStatusLabel, ids::kSlotText, "正在更新文件,"_t);
    }
    rt::SetControlText(kWindow, ids::kPercentLabel, ids::kSlotText, "100%"_t);
  });
  worker.join();
  windows().ProcessPendingMessages();
  EXPECT_EQ(rt::GetControlInt(kWindow, ids::kProgressBar, ids::kSlotPosition), 100);
  EXPECT_EQ(rt::GetControlText(kWindow, ids::kPercentLabel, ids::kSlotText).view(), "100%");
  auto after = windows().Capture(kWindow);
  ASSERT_TRUE(before && after);
  // The bar's right end now shows the fill, and the greyed start button is drawn.
  EXPECT_NE(before->PixelRgba(590, 463), after->PixelRgba(590, 463));
  EXPECT_NE(before->PixelRgba(620, 440), after->PixelRgba(620, 440));
  Click(ids::kStartButton);
  EXPECT_TRUE(clicked_.empty());
}

TEST_F(LauncherWindow, IsDrawnFromTheBuiltInArtwork) {
  LoadRecording();
  auto picture = windows().Capture(kWindow);
  ASSERT_TRUE(picture);
  uint32_t start = picture->PixelRgba(612, 436);  // the start button's orange face
  EXPECT_GT(start >> 24, (start >> 8) & 0xFF);
  EXPECT_NE(picture->PixelRgba(340, 60), picture->PixelRgba(340, 300));  // a picture, not a fill
}

}  // namespace
}  // namespace vlmr::test
