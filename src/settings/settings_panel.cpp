#include "settings/settings_panel.h"

#include <algorithm>

#include "settings/settings_boxes.h"

namespace vlmr::settings {
namespace {

constexpr std::array kBoxesTickedOnReset = {
    ids::kBoxWindowed, ids::kBox800x600,   ids::kBoxFiltering,  ids::kBox56Hz,
    ids::kBoxMusicOn,  ids::kBoxEffectsOn, ids::kBoxTwoSpeakers};
constexpr std::array kBoxesUntickedOnReset = {
    ids::kBoxFullScreen,   ids::kBox1024x768, ids::kBox1366x768,   ids::kBox1600x900,
    ids::kBox1920x1080,    ids::kBox60Hz,     ids::kBox70Hz,       ids::kBox72Hz,
    ids::kBox75Hz,         ids::kBoxMusicOff, ids::kBoxEffectsOff, ids::kBoxTopSound,
    ids::kBoxFourSpeakers, ids::kBoxSurround};

std::span<const uint32_t> GroupOf(uint32_t box) {
  for (std::span<const uint32_t> group : kRadioGroups) {
    if (std::find(group.begin(), group.end(), box) != group.end()) return group;
  }
  return {};
}

}  // namespace

void ShowOrHideSettings() {
  const int32_t visible =
      rt::GetControlInt(ids::kLauncherWindow, ids::kSettingsPanel, ids::kSlotVisible);
  rt::SetControlBool(ids::kLauncherWindow, ids::kSettingsPanel, ids::kSlotVisible,
                     (visible & 1) == 0);
}

void ResetSettings() {
  for (uint32_t box : kBoxesTickedOnReset) SetTicked(box, true);
  for (uint32_t box : kBoxesUntickedOnReset) SetTicked(box, false);
}

void GroupClick(uint32_t controlId) {
  const std::span<const uint32_t> group = GroupOf(controlId);
  if (group.empty()) return;
  if (IsTicked(controlId)) {
    for (uint32_t other : group) {
      if (other != controlId) SetTicked(other, false);
    }
  }
  SetTicked(controlId, true);
}

}  // namespace vlmr::settings
