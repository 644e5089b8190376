// What the settings tests read back: the settings record's eight values, the
// ticked boxes of a group, the panel's visibility and the settings file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/control_properties.h"
#include "runtime/launcher_ids.h"
#include "settings/settings_boxes.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace vlmr::test {

// Model, ResolvingPower, Senior, Frequency, Music, SoundEffects,
// AudioSettings, AttackFontType.
inline std::vector<int32_t> RecordValues() {
  const settings::SettingsRecord& r = settings::Settings();
  return {r.Model, r.ResolvingPower, r.Senior,        r.Frequency,
          r.Music, r.SoundEffects,   r.AudioSettings, r.AttackFontType};
}

inline std::vector<uint32_t> TickedOf(std::span<const uint32_t> group) {
  std::vector<uint32_t> ticked;
  for (uint32_t box : group) {
    if (settings::IsTicked(box)) ticked.push_back(box);
  }
  return ticked;
}

inline bool PanelVisible() {
  return rt::GetControlBool(rt::ids::kLauncherWindow, rt::ids::kSettingsPanel, rt::ids::kSlotVisible);
}

inline std::string SettingsFile(const TempDir& launcherFolder) {
  return launcherFolder.Read("LoginConfig.ini");
}

inline void WriteSettingsFile(const TempDir& launcherFolder, std::string_view content) {
  launcherFolder.Write("LoginConfig.ini", content);
}

}  // namespace vlmr::test
