// The settings panel's choice boxes, grouped as the panel shows them, and the
// reading and writing of their ticks through the launcher window's properties.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "runtime/control_properties.h"
#include "runtime/launcher_ids.h"

namespace vlmr::settings {

namespace ids = rt::ids;

// Each group in the order of its rows in the panel; a box's 1-based place is
// the stored value it stands for, except in the speaker group, whose order is
// that of the control ids (the stored values are 1, 2, 4, 3 along it).
inline constexpr std::array kDisplayModeBoxes = {ids::kBoxWindowed, ids::kBoxFullScreen};
inline constexpr std::array kResolutionBoxes = {
    ids::kBox800x600, ids::kBox1024x768, ids::kBox1366x768, ids::kBox1600x900, ids::kBox1920x1080};
inline constexpr std::array kRefreshRateBoxes = {ids::kBox56Hz, ids::kBox60Hz, ids::kBox70Hz,
                                                 ids::kBox72Hz, ids::kBox75Hz};
inline constexpr std::array kDamageStyleBoxes = {ids::kBoxOldStyle, ids::kBoxNewStyle};
inline constexpr std::array kMusicBoxes = {ids::kBoxMusicOn, ids::kBoxMusicOff};
inline constexpr std::array kSoundEffectBoxes = {ids::kBoxEffectsOn, ids::kBoxEffectsOff};
inline constexpr std::array kSpeakerBoxes = {ids::kBoxTwoSpeakers, ids::kBoxTopSound,
                                             ids::kBoxFourSpeakers, ids::kBoxSurround};

// The speaker boxes by stored value 1-4: "2扬声器", "顶音", "环绕音", "4扬声器".
inline constexpr std::array kSpeakerBoxesByValue = {ids::kBoxTwoSpeakers, ids::kBoxTopSound,
                                                    ids::kBoxSurround, ids::kBoxFourSpeakers};

// The groups whose boxes behave as radio buttons (22 boxes; the texture
// filtering box stands alone).
inline constexpr std::array<std::span<const uint32_t>, 7> kRadioGroups = {
    kDisplayModeBoxes, kResolutionBoxes,  kRefreshRateBoxes, kDamageStyleBoxes,
    kMusicBoxes,       kSoundEffectBoxes, kSpeakerBoxes};

inline bool IsTicked(uint32_t box) {
  return rt::GetControlBool(ids::kLauncherWindow, box, ids::kSlotChecked);
}
inline void SetTicked(uint32_t box, bool ticked) {
  rt::SetControlBool(ids::kLauncherWindow, box, ids::kSlotChecked, ticked);
}

}  // namespace vlmr::settings
