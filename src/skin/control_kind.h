// The six skinned control kinds, the types of their numbered property slots and
// the names of the slots this toolkit gives a meaning.
//
// Slots are numbered as the runtime addresses them (8 and up); at the toolkit
// interface a kind's own property number is slot - 8.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/launcher_ids.h"

namespace vlmr::skin {

enum class Kind : uint8_t { WindowEx, PictureBoxEx, LabelEx, ButtonEx, ChoiceboxEx, ProgressbarEx };
inline constexpr int kKindCount = 6;

enum class SlotType : uint8_t { Bool, Int, Text, Blob };

// The types of the kind's own properties, own number 0 first.
std::span<const SlotType> OwnSlotTypes(Kind kind);
inline int OwnSlotCount(Kind kind) { return static_cast<int>(OwnSlotTypes(kind).size()); }

// A slot's own property number.
constexpr int OwnNumber(int32_t slot) { return slot - rt::ids::kFirstOwnSlot; }

// Own property numbers (slot - 8). The first eight are the same for every kind.
// Those the launcher logic addresses through the call frame come from its slots.
namespace own {
inline constexpr int kVisible = OwnNumber(rt::ids::kSlotVisible);    // bool: false hides the control and its children
inline constexpr int kDisabled = OwnNumber(rt::ids::kSlotDisabled);  // bool: true blocks clicks
inline constexpr int kAlpha = 2;      // slot 10, int: opacity 0-255
inline constexpr int kSkin = 5;       // slot 13, blob: the main picture (PNG)
inline constexpr int kFont = 7;       // slot 15, blob: CaptionFont (see property_data.h)

inline constexpr int kWindowFillParent = 11;   // WindowEx slot 19, int: 1 = picture covers the parent
inline constexpr int kPicture = 8;             // PictureBoxEx slot 16, blob: PNG or animated GIF
inline constexpr int kPictureAnimate = 11;     // PictureBoxEx slot 19, bool
inline constexpr int kLabelColour = 8;         // LabelEx slot 16, int: 0xAARRGGBB
inline constexpr int kLabelAlign = 9;          // LabelEx slot 17, int: 0 left, 1 centre, 2 right
inline constexpr int kLabelText = OwnNumber(rt::ids::kSlotText);  // LabelEx slot 20, text
inline constexpr int kButtonHoverSkin = 8;     // ButtonEx slot 16, blob
inline constexpr int kButtonPressedSkin = 9;   // ButtonEx slot 17, blob
inline constexpr int kButtonColour = 11;       // ButtonEx slot 19, int
inline constexpr int kButtonCaption = 12;      // ButtonEx slot 20, text
inline constexpr int kButtonDisabledSkin = 13; // ButtonEx slot 21, blob
inline constexpr int kChecked = OwnNumber(rt::ids::kSlotChecked);  // ChoiceboxEx slot 16, bool
inline constexpr int kCheckedSkin = 9;         // ChoiceboxEx slot 17, blob
inline constexpr int kUncheckedSkin = 10;      // ChoiceboxEx slot 18, blob
inline constexpr int kChoiceColour = 11;       // ChoiceboxEx slot 19, int
inline constexpr int kChoiceCaption = 13;      // ChoiceboxEx slot 21, text
inline constexpr int kPosition = OwnNumber(rt::ids::kSlotPosition);  // ProgressbarEx slot 16, int
inline constexpr int kMinimum = 9;             // ProgressbarEx slot 17, int
inline constexpr int kMaximum = 10;            // ProgressbarEx slot 18, int
inline constexpr int kTrackSkin = 13;          // ProgressbarEx slot 21, blob
inline constexpr int kFillSkin = 14;           // ProgressbarEx slot 22, blob
}  // namespace own

// Event codes the toolkit raises through a control's event sink. Codes of 700
// and above are the toolkit's own notices, which the host ignores.
inline constexpr int32_t kEventClick = 660;
inline constexpr int32_t kEventStateNotice = 700;  // hover or press state changed
inline constexpr int32_t kFirstIgnoredEventCode = 700;

// A control's event number is EventBase(kind) + (code - 660); a click is event 0.
int32_t EventBase(Kind kind);

}  // namespace vlmr::skin
