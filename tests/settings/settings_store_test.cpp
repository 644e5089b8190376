// The reading and deriving rules of load and save settings in detail, against
// real LoginConfig.ini files, with the boxes held by the recording window
// system (where a group may even hold several ticks at once).
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "settings/recorded_launcher.h"
#include "settings/settings_panel.h"

namespace vlmr::settings {
namespace {

using SettingsStore = RecordedLauncher;

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

}  // namespace
}  // namespace vlmr::settings
