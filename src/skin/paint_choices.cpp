#include "skin/paint_choices.h"

#include <algorithm>

namespace vlmr::skin {

int Opacity(const PropertySet& properties) { return std::clamp(properties.Number(own::kAlpha), 0, 255); }

Look ButtonLook(const Control& control, const PropertySet& properties) {
  Look look{own::kSkin, Opacity(properties)};
  if (properties.Number(own::kDisabled) != 0) {
    if (!properties.Bytes(own::kButtonDisabledSkin).empty()) {
      look.slot = own::kButtonDisabledSkin;
    } else {
      look.alpha /= 2;
    }
  } else if (control.pressed() && control.hovered() &&
             !properties.Bytes(own::kButtonPressedSkin).empty()) {
    look.slot = own::kButtonPressedSkin;
  } else if (control.hovered() && !properties.Bytes(own::kButtonHoverSkin).empty()) {
    look.slot = own::kButtonHoverSkin;
  }
  return look;
}

Look ChoiceboxLook(const PropertySet& properties) {
  Look look{properties.Number(own::kChecked) != 0 ? own::kCheckedSkin : own::kUncheckedSkin,
            Opacity(properties)};
  if (properties.Number(own::kDisabled) != 0) look.alpha /= 2;
  return look;
}

int PictureBoxSlot(const PropertySet& properties) {
  return properties.Bytes(own::kPicture).empty() ? own::kSkin : own::kPicture;
}

std::optional<double> ProgressFraction(const PropertySet& properties) {
  int minimum = properties.Number(own::kMinimum);
  int maximum = properties.Number(own::kMaximum);
  if (maximum <= minimum) return std::nullopt;
  int position = std::clamp(properties.Number(own::kPosition), minimum, maximum);
  return static_cast<double>(position - minimum) / (maximum - minimum);
}

int CaptionAlpha(const PropertySet& properties, int colourAlpha) {
  int alpha = (colourAlpha == 0 ? 255 : colourAlpha) * Opacity(properties) / 255;
  return properties.Number(own::kDisabled) != 0 ? alpha / 2 : alpha;
}

}  // namespace vlmr::skin
