#include "settings/settings_store.h"

#include <span>

#include "platform/launcher_log.h"
#include "platform/native_path.h"
#include "settings/settings_boxes.h"
#include "settings/settings_file.h"

namespace vlmr::settings {
namespace {

// Boxes unticked before the record's values are shown, in this order; the
// damage-style pair is set on its own.
constexpr std::array kBoxesClearedOnLoad = {
    ids::kBoxWindowed,   ids::kBoxFullScreen,  ids::kBox800x600,   ids::kBox1024x768,
    ids::kBox1366x768,   ids::kBox1600x900,    ids::kBox1920x1080, ids::kBoxFiltering,
    ids::kBox56Hz,       ids::kBox60Hz,        ids::kBox70Hz,      ids::kBox72Hz,
    ids::kBox75Hz,       ids::kBoxMusicOn,     ids::kBoxMusicOff,  ids::kBoxEffectsOn,
    ids::kBoxEffectsOff, ids::kBoxTwoSpeakers, ids::kBoxTopSound,  ids::kBoxFourSpeakers,
    ids::kBoxSurround};

// Ticks the box standing for a 1-based value; out-of-range values tick none.
void TickBoxOfValue(std::span<const uint32_t> boxesByValue, int32_t value) {
  if (value >= 1 && value <= static_cast<int32_t>(boxesByValue.size())) {
    SetTicked(boxesByValue[static_cast<size_t>(value - 1)], true);
  }
}

// The value of the last ticked box in value order; `current` when none is.
int32_t ValueOfTickedBox(std::span<const uint32_t> boxesByValue, int32_t current) {
  int32_t value = current;
  for (size_t i = 0; i < boxesByValue.size(); ++i) {
    if (IsTicked(boxesByValue[i])) value = static_cast<int32_t>(i + 1);
  }
  return value;
}

void ShowRecordInBoxes(const SettingsRecord& record) {
  for (uint32_t box : kBoxesClearedOnLoad) SetTicked(box, false);
  SetTicked(ids::kBoxOldStyle, true);
  if (record.AttackFontType == 1) {
    SetTicked(ids::kBoxNewStyle, true);
    SetTicked(ids::kBoxOldStyle, false);
  }
  SetTicked(record.Model == 1 ? ids::kBoxWindowed : ids::kBoxFullScreen, true);
  TickBoxOfValue(kResolutionBoxes, record.ResolvingPower);
  SetTicked(ids::kBoxFiltering, record.Senior == 1);
  TickBoxOfValue(kRefreshRateBoxes, record.Frequency);
  SetTicked(record.Music == 1 ? ids::kBoxMusicOn : ids::kBoxMusicOff, true);
  SetTicked(record.SoundEffects == 1 ? ids::kBoxEffectsOn : ids::kBoxEffectsOff, true);
  TickBoxOfValue(kSpeakerBoxesByValue, record.AudioSettings);
}

void TakeRecordFromBoxes(SettingsRecord& record) {
  record.Model = IsTicked(ids::kBoxWindowed) ? 1 : 0;
  record.ResolvingPower = ValueOfTickedBox(kResolutionBoxes, record.ResolvingPower);
  record.Senior = IsTicked(ids::kBoxFiltering) ? 1 : 0;
  record.Frequency = ValueOfTickedBox(kRefreshRateBoxes, record.Frequency);
  record.Music = IsTicked(ids::kBoxMusicOn) ? 1 : 0;
  record.SoundEffects = IsTicked(ids::kBoxEffectsOn) ? 1 : 0;
  record.AudioSettings = ValueOfTickedBox(kSpeakerBoxesByValue, record.AudioSettings);
  int32_t attackFontType = 0;
  if (IsTicked(ids::kBoxOldStyle)) attackFontType = 0;
  if (IsTicked(ids::kBoxNewStyle)) attackFontType = 1;
  record.AttackFontType = attackFontType;
}

void ReportUnwritableFile() {
  const rt::Text path = SettingsFilePath();
  platform::Say("settings", "cannot write " + platform::ToNativePath(path.view()) +
                                "; the confirmed settings apply until the launcher closes");
}

}  // namespace

SettingsRecord& Settings() {
  static SettingsRecord record;
  return record;
}

void LoadSettings() {
  ReadSettingsFile(Settings());
  ShowRecordInBoxes(Settings());
}

void SaveSettings() {
  rt::SetControlBool(ids::kLauncherWindow, ids::kSettingsPanel, ids::kSlotVisible, false);
  TakeRecordFromBoxes(Settings());
  if (!WriteSettingsFile(Settings())) ReportUnwritableFile();
}

}  // namespace vlmr::settings
