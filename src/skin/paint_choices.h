// What a control shows, decided the same way whichever system draws it: the
// picture slot and opacity for its state, the progress bar's filled part.
#pragma once

#include <cstdint>
#include <optional>

#include "skin/control.h"
#include "skin/property_data.h"

namespace vlmr::skin {

// The clock a painter passes for a picture that does not animate: it shows
// its first frame and asks for no next one.
inline constexpr int64_t kStillClock = -1;

// The control's opacity, 0-255.
int Opacity(const PropertySet& properties);

struct Look {
  int slot = own::kSkin;  // the picture to draw
  int alpha = 255;
};
// A button: greyed (its own picture, else half opacity), pressed, hovered or plain.
Look ButtonLook(const Control& control, const PropertySet& properties);
// A choice box's tick: ticked or not, at half opacity when disabled.
Look ChoiceboxLook(const PropertySet& properties);
// A picture box shows its picture, or its skin when it has none.
int PictureBoxSlot(const PropertySet& properties);
// The filled fraction of a progress bar (0-1); nullopt when its range is empty.
std::optional<double> ProgressFraction(const PropertySet& properties);
// A caption's opacity from its colour's alpha (0: opaque), the control's
// opacity and its disabled state.
int CaptionAlpha(const PropertySet& properties, int colourAlpha);

}  // namespace vlmr::skin
