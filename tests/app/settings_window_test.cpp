// Settings on the real launcher window (headless): the creation event loads
// LoginConfig.ini into the boxes, the boxes are clicked through the event
// queue, and the confirm button writes the real file.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/settings_boxes.h"
#include "settings/settings_store.h"
#include "support/real_launcher_window.h"
#include "support/settings_panel_state.h"

namespace vlmr::settings {
namespace {

namespace fs = std::filesystem;

const std::string kDefaultFile =
    "[Frame]\r\nModel=1\r\nResolvingPower=1\r\nSenior=1\r\nFrequency=1\r\n\r\n"
    "[Sound]\r\nMusic=1\r\nSoundEffects=1\r\nAudioSettings=1\r\n\r\n"
    "[Font]\r\nAttackFontType=1\r\n";

using test::PanelVisible;
using test::RecordValues;
using test::TickedOf;

class SettingsWindow : public test::RealLauncherWindow {
 protected:
  void WriteSettingsFile(std::string_view content) { test::WriteSettingsFile(dir_, content); }
  std::string SettingsFile() { return test::SettingsFile(dir_); }
  // The game-settings button, then `clicks`, then the confirm button.
  void ShowClickAndConfirm(std::initializer_list<uint32_t> clicks) {
    Click(ids::kSettingsButton);
    ASSERT_TRUE(PanelVisible());
    for (uint32_t box : clicks) Click(box);
    Click(ids::kButtonConfirm);
  }
};

using Boxes = std::vector<uint32_t>;

TEST_F(SettingsWindow, NoFileShowsTheDefaultsAndTheFirstConfirmWritesAllKeysInOrder) {
  Open();
  EXPECT_EQ(RecordValues(), std::vector<int32_t>(8, 1));
  EXPECT_FALSE(PanelVisible());
  EXPECT_EQ(TickedOf(kDisplayModeBoxes), Boxes{ids::kBoxWindowed});
  EXPECT_EQ(TickedOf(kResolutionBoxes), Boxes{ids::kBox800x600});
  EXPECT_TRUE(IsTicked(ids::kBoxFiltering));
  EXPECT_EQ(TickedOf(kRefreshRateBoxes), Boxes{ids::kBox56Hz});
  EXPECT_EQ(TickedOf(kMusicBoxes), Boxes{ids::kBoxMusicOn});
  EXPECT_EQ(TickedOf(kSoundEffectBoxes), Boxes{ids::kBoxEffectsOn});
  EXPECT_EQ(TickedOf(kSpeakerBoxes), Boxes{ids::kBoxTwoSpeakers});
  EXPECT_EQ(TickedOf(kDamageStyleBoxes), Boxes{ids::kBoxNewStyle});
  EXPECT_FALSE(fs::exists(dir_ / "LoginConfig.ini"));

  ShowClickAndConfirm({});
  EXPECT_FALSE(PanelVisible());
  EXPECT_EQ(SettingsFile(), kDefaultFile);
}

TEST_F(SettingsWindow, StoredValuesAreShownAsTheRulesRead) {
  // Model 0, 2.9 read as 2, a present-but-empty Frequency read as 0, full-width
  // ３ for the speakers, a full-width -１ for the sound effects.
  WriteSettingsFile(
      "[Frame]\r\nModel=0\r\nResolvingPower=2.9\r\nFrequency=\r\n"
      "[Sound]\r\nAudioSettings=\xA3\xB3\r\nSoundEffects=\xA3\xAD\xA3\xB1\r\n");
  Open();
  EXPECT_EQ(RecordValues(), (std::vector<int32_t>{0, 2, 1, 0, 1, -1, 3, 1}));
  EXPECT_EQ(TickedOf(kDisplayModeBoxes), Boxes{ids::kBoxFullScreen});
  EXPECT_EQ(TickedOf(kResolutionBoxes), Boxes{ids::kBox1024x768});
  EXPECT_EQ(TickedOf(kRefreshRateBoxes), Boxes{});
  EXPECT_EQ(TickedOf(kSpeakerBoxes), Boxes{ids::kBoxSurround});
  EXPECT_EQ(TickedOf(kSoundEffectBoxes), Boxes{ids::kBoxEffectsOff});
  Close();

  WriteSettingsFile("[Frame]\r\nModel=7\r\nResolvingPower=-1\r\n");
  Open();
  EXPECT_EQ(TickedOf(kDisplayModeBoxes), Boxes{ids::kBoxFullScreen});
  EXPECT_EQ(TickedOf(kResolutionBoxes), Boxes{});
  ShowClickAndConfirm({ids::kBox60Hz});
  EXPECT_EQ(SettingsFile(),
            "[Frame]\r\nModel=0\r\nResolvingPower=-1\r\nSenior=1\r\nFrequency=2\r\n\r\n"
            "[Sound]\r\nMusic=1\r\nSoundEffects=1\r\nAudioSettings=1\r\n\r\n"
            "[Font]\r\nAttackFontType=1\r\n");
}

TEST_F(SettingsWindow, ClickedBoxesActAsRadioButtonsAndNeedAConfirm) {
  Open();
  Click(ids::kSettingsButton);
  Click(ids::kBox1920x1080);
  EXPECT_EQ(TickedOf(kResolutionBoxes), Boxes{ids::kBox1920x1080});
  Click(ids::kBox1920x1080);  // a ticked box stays ticked
  EXPECT_EQ(TickedOf(kResolutionBoxes), Boxes{ids::kBox1920x1080});
  Click(ids::kBoxFourSpeakers);
  EXPECT_EQ(TickedOf(kSpeakerBoxes), Boxes{ids::kBoxFourSpeakers});
  Click(ids::kBoxOldStyle);
  EXPECT_EQ(TickedOf(kDamageStyleBoxes), Boxes{ids::kBoxOldStyle});
  Click(ids::kBoxFiltering);  // toggles on its own
  EXPECT_FALSE(IsTicked(ids::kBoxFiltering));
  Click(ids::kBoxFiltering);
  EXPECT_TRUE(IsTicked(ids::kBoxFiltering));

  // Hiding the panel with the game-settings button stores nothing.
  Click(ids::kSettingsButton);
  EXPECT_FALSE(PanelVisible());
  EXPECT_EQ(RecordValues(), std::vector<int32_t>(8, 1));
  EXPECT_FALSE(fs::exists(dir_ / "LoginConfig.ini"));

  Click(ids::kSettingsButton);  // shown again with the unsaved ticks
  EXPECT_EQ(TickedOf(kResolutionBoxes), Boxes{ids::kBox1920x1080});
  Click(ids::kButtonConfirm);
  EXPECT_EQ(RecordValues(), (std::vector<int32_t>{1, 5, 1, 1, 1, 1, 4, 0}));
}

TEST_F(SettingsWindow, ResetThenConfirmWritesTheDefaultsAndTheTickedDamageStyle) {
  WriteSettingsFile(
      "[Frame]\r\nModel=0\r\nResolvingPower=4\r\nSenior=0\r\nFrequency=3\r\n\r\n"
      "[Sound]\r\nMusic=0\r\nSoundEffects=0\r\nAudioSettings=3\r\n\r\n[Font]\r\nAttackFontType="
      "0\r\n");
  Open();
  Click(ids::kSettingsButton);
  Click(ids::kButtonReset);
  EXPECT_TRUE(PanelVisible());
  EXPECT_EQ(Settings().ResolvingPower, 4);
  EXPECT_EQ(TickedOf(kDamageStyleBoxes), Boxes{ids::kBoxOldStyle});
  Click(ids::kButtonConfirm);
  std::string expected = kDefaultFile;
  expected.replace(expected.find("AttackFontType=1"), 16, "AttackFontType=0");
  EXPECT_EQ(SettingsFile(), expected);
}

TEST_F(SettingsWindow, CommentsAndUnknownKeysSurviveASave) {
  const std::string original =
      "; options of the launcher\r\n[Frame]\r\n; screen\r\nModel=1\r\nShader=high\r\n"
      "\r\n[Extra]\r\nKeep=me\r\n";
  WriteSettingsFile(original);
  Open();
  ShowClickAndConfirm({ids::kBoxFullScreen});
  EXPECT_EQ(SettingsFile(),
            "; options of the launcher\r\n[Frame]\r\n; screen\r\nModel=0\r\nShader=high\r\n"
            "ResolvingPower=1\r\nSenior=1\r\nFrequency=1\r\n\r\n[Extra]\r\nKeep=me\r\n\r\n"
            "[Sound]\r\nMusic=1\r\nSoundEffects=1\r\nAudioSettings=1\r\n\r\n"
            "[Font]\r\nAttackFontType=1\r\n");
}

TEST_F(SettingsWindow, ReadOnlyFileKeepsTheConfirmedValuesForTheRun) {
  const std::string original = "[Frame]\r\nResolvingPower=2\r\n";
  WriteSettingsFile(original);
  fs::permissions(dir_ / "LoginConfig.ini",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  Open();
  testing::internal::CaptureStderr();
  ShowClickAndConfirm({ids::kBox1600x900});
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(PanelVisible());
  EXPECT_EQ(Settings().ResolvingPower, 4);
  EXPECT_EQ(SettingsFile(), original);
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
  EXPECT_NE(report.find("LoginConfig.ini"), std::string::npos) << report;
}

}  // namespace
}  // namespace vlmr::settings
