// The settings panel's handlers: group click, reset, show or hide.
#include "settings/settings_panel.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/recorded_launcher.h"
#include "settings/settings_store.h"

namespace vlmr::settings {
namespace {

class SettingsPanel : public RecordedLauncher {
 protected:
  void SetUp() override { LoadSettings(); }
};

using Boxes = std::vector<uint32_t>;

TEST_F(SettingsPanel, ClickingABoxLeavesItTheOnlyTickedBoxOfItsGroup) {
  ClickBox(ids::kBox1024x768, GroupClick);
  EXPECT_EQ(TickedOf(kResolutionBoxes), Boxes{ids::kBox1024x768});
  ClickBox(ids::kBox1024x768, GroupClick);  // clicking the ticked box keeps it ticked
  EXPECT_EQ(TickedOf(kResolutionBoxes), Boxes{ids::kBox1024x768});

  for (auto group : kRadioGroups) {
    for (uint32_t box : group) {
      ClickBox(box, GroupClick);
      EXPECT_EQ(TickedOf(group), Boxes{box}) << std::hex << box;
    }
  }
  // Groups do not reach into one another.
  EXPECT_EQ(TickedOf(kMusicBoxes), Boxes{ids::kBoxMusicOff});
  EXPECT_EQ(TickedOf(kSoundEffectBoxes), Boxes{ids::kBoxEffectsOff});
}

TEST_F(SettingsPanel, AGroupClickUnticksTheOthersInGroupOrderThenTicksTheClickedBox) {
  ASSERT_EQ(TickedOf(kSpeakerBoxes), Boxes{ids::kBoxTwoSpeakers});
  const size_t before = window_.Writes().size();
  ClickBox(ids::kBoxSurround, GroupClick);
  const std::vector<rt::RecordingWindowSystem::PropertyWrite> writes = window_.Writes();
  auto checked = [](uint32_t box, uint64_t value) {
    return rt::RecordingWindowSystem::PropertyWrite{ids::kLauncherWindow, box, ids::kSlotChecked,
                                                    value};
  };
  const std::vector expected = {
      checked(ids::kBoxSurround, 1),  // the toolkit's own toggle before the handler runs
      checked(ids::kBoxTwoSpeakers, 0),
      checked(ids::kBoxTopSound, 0),
      checked(ids::kBoxFourSpeakers, 0),
      checked(ids::kBoxSurround, 1)};
  EXPECT_EQ(std::vector(writes.begin() + static_cast<std::ptrdiff_t>(before), writes.end()),
            expected);
}

TEST_F(SettingsPanel, AGroupWithNoTickedBoxGetsOneAtTheFirstClick) {
  WriteSettingsFile("[Frame]\r\nFrequency=0\r\n");
  LoadSettings();
  ASSERT_TRUE(TickedOf(kRefreshRateBoxes).empty());
  ClickBox(ids::kBox70Hz, GroupClick);
  EXPECT_EQ(TickedOf(kRefreshRateBoxes), Boxes{ids::kBox70Hz});
}

TEST_F(SettingsPanel, ShowOrHideInvertsTheLowestBitOfVisible) {
  EXPECT_FALSE(PanelVisible());
  ShowOrHideSettings();
  EXPECT_TRUE(PanelVisible());
  ShowOrHideSettings();
  EXPECT_FALSE(PanelVisible());
  rt::SetControlInt(ids::kLauncherWindow, ids::kSettingsPanel, ids::kSlotVisible, 2);
  ShowOrHideSettings();  // 2 has the lowest bit clear: counts as hidden
  EXPECT_EQ(rt::GetControlInt(ids::kLauncherWindow, ids::kSettingsPanel, ids::kSlotVisible), 1);
}

TEST_F(SettingsPanel, ResetTicksDefaultsButStoresAndWritesNothing) {
  WriteSettingsFile("[Frame]\r\nModel=0\r\nResolvingPower=5\r\n[Sound]\r\nAudioSettings=3\r\n");
  LoadSettings();
  ClickBox(ids::kBoxOldStyle, GroupClick);
  ShowOrHideSettings();
  ResetSettings();
  ShowOrHideSettings();
  ShowOrHideSettings();
  EXPECT_TRUE(PanelVisible());
  EXPECT_EQ(TickedOf(kDisplayModeBoxes), Boxes{ids::kBoxWindowed});
  EXPECT_EQ(TickedOf(kResolutionBoxes), Boxes{ids::kBox800x600});
  EXPECT_EQ(TickedOf(kSpeakerBoxes), Boxes{ids::kBoxTwoSpeakers});
  EXPECT_EQ(TickedOf(kDamageStyleBoxes), Boxes{ids::kBoxOldStyle});  // untouched
  EXPECT_EQ(Settings().Model, 0);
  EXPECT_EQ(Settings().ResolvingPower, 5);
  EXPECT_EQ(SettingsFile(),
            "[Frame]\r\nModel=0\r\nResolvingPower=5\r\n[Sound]\r\nAudioSettings=3\r\n");
}

}  // namespace
}  // namespace vlmr::settings
