// Load and save settings against real LoginConfig.ini files in a temporary
// launcher folder, with the boxes held by the recording window system.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "settings/recorded_launcher.h"
#include "settings/settings_panel.h"

namespace vlmr::settings {
namespace {

namespace fs = std::filesystem;

const std::string kDefaultFile =
    "[Frame]\r\nModel=1\r\nResolvingPower=1\r\nSenior=1\r\nFrequency=1\r\n\r\n"
    "[Sound]\r\nMusic=1\r\nSoundEffects=1\r\nAudioSettings=1\r\n\r\n"
    "[Font]\r\nAttackFontType=1\r\n";

class SettingsStore : public RecordedLauncher {
 protected:
  std::set<uint32_t> TickedBoxes() {
    std::set<uint32_t> ticked;
    for (uint32_t control : AllSettingsControls()) {
      if (control != ids::kSettingsPanel && IsTicked(control)) ticked.insert(control);
    }
    return ticked;
  }
  std::vector<int32_t> RecordValues() {
    const SettingsRecord& r = Settings();
    return {r.Model, r.ResolvingPower, r.Senior,        r.Frequency,
            r.Music, r.SoundEffects,   r.AudioSettings, r.AttackFontType};
  }
};

const std::set<uint32_t> kDefaultTicks = {
    ids::kBoxWindowed, ids::kBox800x600,   ids::kBoxFiltering,   ids::kBox56Hz,
    ids::kBoxMusicOn,  ids::kBoxEffectsOn, ids::kBoxTwoSpeakers, ids::kBoxNewStyle};

TEST_F(SettingsStore, NoFileGivesTheDefaultsAndTheFirstConfirmWritesAllKeysInOrder) {
  LoadSettings();
  EXPECT_EQ(RecordValues(), std::vector<int32_t>(8, 1));
  EXPECT_EQ(TickedBoxes(), kDefaultTicks);
  EXPECT_FALSE(fs::exists(dir_ / "LoginConfig.ini"));  // loading writes nothing

  SaveSettings();
  EXPECT_EQ(SettingsFile(), kDefaultFile);
}

TEST_F(SettingsStore, StoredModelOtherThanOneMeansFullScreen) {
  for (const char* model : {"0", "7"}) {
    SCOPED_TRACE(model);
    WriteSettingsFile(std::string("[Frame]\r\nModel=") + model + "\r\n");
    LoadSettings();
    EXPECT_TRUE(IsTicked(ids::kBoxFullScreen));
    EXPECT_FALSE(IsTicked(ids::kBoxWindowed));
    SaveSettings();
    EXPECT_NE(SettingsFile().find("Model=0\r\n"), std::string::npos);
  }
}

TEST_F(SettingsStore, FractionsAreTruncatedTowardZero) {
  WriteSettingsFile("[Frame]\r\nResolvingPower=2.9\r\nFrequency=-0.5\r\n[Sound]\r\nMusic=1e0\r\n");
  LoadSettings();
  EXPECT_EQ(Settings().ResolvingPower, 2);
  EXPECT_TRUE(IsTicked(ids::kBox1024x768));
  EXPECT_EQ(Settings().Frequency, 0);
  EXPECT_EQ(Settings().Music, 1);
}

TEST_F(SettingsStore, OutOfRangeValueTicksNoBoxAndSurvivesAConfirm) {
  WriteSettingsFile(
      "[Frame]\r\nResolvingPower=-1\r\nFrequency=9\r\n[Sound]\r\nAudioSettings=5\r\n");
  LoadSettings();
  EXPECT_EQ(Settings().ResolvingPower, -1);
  for (uint32_t box : kResolutionBoxes) EXPECT_FALSE(IsTicked(box));
  for (uint32_t box : kRefreshRateBoxes) EXPECT_FALSE(IsTicked(box));
  for (uint32_t box : kSpeakerBoxes) EXPECT_FALSE(IsTicked(box));

  SaveSettings();
  const std::string saved = SettingsFile();
  EXPECT_NE(saved.find("ResolvingPower=-1\r\n"), std::string::npos);
  EXPECT_NE(saved.find("Frequency=9\r\n"), std::string::npos);
  EXPECT_NE(saved.find("AudioSettings=5\r\n"), std::string::npos);
  EXPECT_EQ(Settings().ResolvingPower, -1);
}

TEST_F(SettingsStore, PresentButEmptyOrNonNumericKeyReadsZeroNotTheDefault) {
  WriteSettingsFile(
      "[Frame]\r\nFrequency=\r\nSenior=abc\r\n[Sound]\r\nMusic=\r\n[Font]\r\nAttackFontType=\r\n");
  LoadSettings();
  EXPECT_EQ(Settings().Frequency, 0);
  EXPECT_EQ(Settings().Senior, 0);
  EXPECT_EQ(Settings().Music, 0);
  EXPECT_EQ(Settings().AttackFontType, 0);
  EXPECT_EQ(Settings().Model, 1);  // absent: the default
  for (uint32_t box : kRefreshRateBoxes) EXPECT_FALSE(IsTicked(box));
  EXPECT_FALSE(IsTicked(ids::kBoxFiltering));
  EXPECT_TRUE(IsTicked(ids::kBoxMusicOff));
  EXPECT_TRUE(IsTicked(ids::kBoxOldStyle));
  EXPECT_FALSE(IsTicked(ids::kBoxNewStyle));
}

TEST_F(SettingsStore, FullWidthDigitsReadAsAsciiOnes) {
  // ３, －１, a full-width space before ４．９, and ２ followed by a CJK character.
  WriteSettingsFile(
      "[Frame]\r\nResolvingPower=\xA3\xB3\r\nModel=\xA3\xAD\xA3\xB1\r\n"
      "Frequency=\xA1\xA1\xA3\xB4\xA3\xAE\xA3\xB9\r\n[Sound]\r\nAudioSettings="
      "\xA3\xB2\xD6\xD0\r\n");
  LoadSettings();
  EXPECT_EQ(Settings().ResolvingPower, 3);
  EXPECT_EQ(Settings().Model, -1);
  EXPECT_EQ(Settings().Frequency, 4);
  EXPECT_EQ(Settings().AudioSettings, 2);
  EXPECT_TRUE(IsTicked(ids::kBox1366x768));
  EXPECT_TRUE(IsTicked(ids::kBox72Hz));
  EXPECT_TRUE(IsTicked(ids::kBoxTopSound));
}

TEST_F(SettingsStore, TickingABoxWithoutConfirmingLeavesRecordAndFileUnchanged) {
  LoadSettings();
  ClickBox(ids::kBox1920x1080, GroupClick);
  ClickBox(ids::kBoxFullScreen, GroupClick);
  EXPECT_EQ(RecordValues(), std::vector<int32_t>(8, 1));
  EXPECT_FALSE(fs::exists(dir_ / "LoginConfig.ini"));

  SaveSettings();
  EXPECT_EQ(Settings().ResolvingPower, 5);
  EXPECT_EQ(Settings().Model, 0);
}

TEST_F(SettingsStore, ConfirmHidesThePanelAndDerivesEachField) {
  LoadSettings();
  ShowOrHideSettings();
  ASSERT_TRUE(PanelVisible());
  // Two boxes of a group ticked at once (only possible by direct writes): the
  // last one in value order wins.
  SetTicked(ids::kBox1366x768, true);
  SetTicked(ids::kBox60Hz, true);
  SetTicked(ids::kBox75Hz, true);
  SetTicked(ids::kBoxFourSpeakers, true);
  SetTicked(ids::kBoxSurround, true);
  SetTicked(ids::kBoxFiltering, false);
  SetTicked(ids::kBoxOldStyle, true);  // both styles ticked: new wins
  SaveSettings();
  EXPECT_FALSE(PanelVisible());
  EXPECT_EQ(RecordValues(), (std::vector<int32_t>{1, 3, 0, 5, 1, 1, 4, 1}));

  SetTicked(ids::kBoxNewStyle, false);
  SetTicked(ids::kBoxOldStyle, false);  // neither ticked: old style
  SetTicked(ids::kBoxWindowed, false);  // and 全屏模式 not consulted
  SaveSettings();
  EXPECT_EQ(Settings().AttackFontType, 0);
  EXPECT_EQ(Settings().Model, 0);
}

TEST_F(SettingsStore, ResetThenConfirmWritesTheDefaultsAndTheTickedDamageStyle) {
  WriteSettingsFile(
      "[Frame]\r\nModel=0\r\nResolvingPower=4\r\nSenior=0\r\nFrequency=3\r\n\r\n"
      "[Sound]\r\nMusic=0\r\nSoundEffects=0\r\nAudioSettings=3\r\n\r\n[Font]\r\nAttackFontType="
      "0\r\n");
  LoadSettings();
  ShowOrHideSettings();
  ResetSettings();
  EXPECT_TRUE(PanelVisible());
  EXPECT_EQ(Settings().ResolvingPower, 4);  // nothing stored by the reset
  std::set<uint32_t> expected = kDefaultTicks;
  expected.erase(ids::kBoxNewStyle);
  expected.insert(ids::kBoxOldStyle);
  EXPECT_EQ(TickedBoxes(), expected);

  SaveSettings();
  std::string expectedFile = kDefaultFile;
  expectedFile.replace(expectedFile.find("AttackFontType=1"), 16, "AttackFontType=0");
  EXPECT_EQ(SettingsFile(), expectedFile);
}

TEST_F(SettingsStore, CommentsUnknownKeysAndOtherSectionsSurviveASave) {
  const std::string original =
      "; launcher options\r\n[Other]\r\nKeep=yes\r\n\r\n"
      "[frame]\r\n# note\r\nmodel=0\r\nWindowTitle=Vellmoor\r\nResolvingPower=2\r\n";
  WriteSettingsFile(original);
  LoadSettings();
  EXPECT_EQ(Settings().Model, 0);  // section and key names match in any case
  SaveSettings();
  const std::string saved = SettingsFile();
  EXPECT_EQ(saved.substr(0, 58),
            "; launcher options\r\n[Other]\r\nKeep=yes\r\n\r\n[frame]\r\n# note\r\n");
  EXPECT_NE(saved.find("WindowTitle=Vellmoor\r\n"), std::string::npos);
  EXPECT_NE(saved.find("ResolvingPower=2\r\n"), std::string::npos);
  EXPECT_NE(saved.find("[Font]\r\nAttackFontType=1\r\n"), std::string::npos);
}

TEST_F(SettingsStore, ReadOnlyFileKeepsTheConfirmedValuesAndIsReportedOnce) {
  const std::string original = "[Frame]\r\nResolvingPower=2\r\n";
  WriteSettingsFile(original);
  fs::permissions(dir_ / "LoginConfig.ini",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  LoadSettings();
  ClickBox(ids::kBox1600x900, GroupClick);
  testing::internal::CaptureStderr();
  SaveSettings();
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Settings().ResolvingPower, 4);
  EXPECT_EQ(SettingsFile(), original);
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
  EXPECT_NE(report.find("LoginConfig.ini"), std::string::npos) << report;
  EXPECT_FALSE(PanelVisible());
}

}  // namespace
}  // namespace vlmr::settings
